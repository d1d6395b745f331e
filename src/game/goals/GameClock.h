// The match clock: measures a match's playing time and shows it, as a shrinking time bar (the
// mode the match screen uses) or as a number on a clock face. When the time has run out it sends
// event 24 once and stops.
//
// The match screen places it on every visit, clears `waiting` when play starts, flips `paused`
// with its pause and resets it when the screen is left. Nothing here needs a window or loaded
// data: an image or font id that is not bound leaves the sizes taken from it alone.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "game/screens/ScreenIds.h"
#include "game/screens/ScreenObject.h"
#include "game/screens/StepTimer.h"

namespace Kelvane {

class BoardObject;
class EventSink;

class GameClock {
public:
    static constexpr int32_t kBarMode = 0;
    static constexpr int32_t kNumberMode = 1;
    static constexpr int32_t kTimeUpEvent = EVENT_TIME_UP;
    static constexpr int32_t kFaceId = 6;
    static constexpr int32_t kBarHandId = 5;
    static constexpr int32_t kNumberHandId = 4;
    static constexpr int32_t kBarSteps = 90;  // bar mode counts down from here, one per 101 updates

    ScreenObject* frame = nullptr;  // the clock's background
    ScreenObject* face = nullptr;   // the bar background, or the clock face
    ScreenObject* hand = nullptr;   // the bar, or the number
    int centreX = -1;               // where the number is centred (number mode only)
    int centreY = -1;
    bool waiting = true;  // the clock does not run (before play starts, after time is up)
    bool paused = false;  // flipped by the match screen's pause
    std::vector<std::unique_ptr<ScreenObject>> objects;  // frame, face, hand: the draw order
    std::unique_ptr<StepTimer> timer;
    int barFullWidth = 0;  // the bar's width with all the time left

    // `events` receives the time-up event; it must outlive the clock.
    explicit GameClock(EventSink& events);
    ~GameClock();
    GameClock(const GameClock&) = delete;
    GameClock& operator=(const GameClock&) = delete;

    // Creates the timer and the three objects with the frame's top-left at (x, y): mode 0 shows
    // a time bar counting down 90 steps, mode 1 a number counting up to 10. Replaces whatever an
    // earlier place left, and starts waiting and unpaused, so a new match never inherits the
    // flags of the last one.
    void place(int x, int y, int32_t mode);
    // One update tick; nothing while waiting, paused or not placed. Ticks the timer, refreshes
    // the hand, and on the step that ends the time sends event 24 and starts waiting.
    void update();
    // Deletes the objects and the timer.
    void reset();
    // Appends the objects in list order.
    void addToDrawList(DrawList& list);

    // The pieces of a clear, handed over like to the goal system; the clock takes no action.
    void scoreClearedPieces(const std::vector<BoardObject*>& pieces) { (void)pieces; }

    // Whether event 24 has been sent since the last place.
    bool timeIsUp() const { return timeUpSent; }

private:
    void refreshHand();

    EventSink& events;
    bool timeUpSent = false;
};

}  // namespace Kelvane

// The match. Owns the match components for its whole life (the piece grid, the match clock, the
// goal system and the banners) and starts a fresh match on every visit: the opening drop, the
// ready and go banners, play until the clock runs out, the time-up banner, the post-match tally
// and the pieces flying off the board. Clicks go to the board's pieces before anything else; the
// menu and pause buttons work only while play runs.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "game/goals/EventSink.h"
#include "game/grid/GridHost.h"
#include "game/grid/PieceKind.h"
#include "game/screens/Screen.h"

namespace Kelvane {

class GameClock;
class GoalSystem;
class MessageSystem;
class PieceGrid;

// What a match deals: the first four values are read by nothing; the grid reads the kinds.
struct MatchSetup {
    int32_t size = 10;
    int32_t unusedA = 0;
    int32_t unusedB = 0;
    int32_t unusedC = 0;
    std::vector<PieceKind> kinds{Piece::Ball, Piece::RedCard, Piece::Injury, Piece::YellowCard,
                                 Piece::OffsideFlag};
};

class MainScreen : public Screen, private GridHost, private EventSink {
public:
    static constexpr float kClockX = 280;
    static constexpr float kClockY = 388;

    std::vector<ScreenObject*> boardObjects;   // every piece, as collected last
    std::vector<ScreenObject*> boardObjectsB;  // the new pieces falling in
    std::vector<ScreenObject*> extraObjects;
    ScreenObject* selectionMarker = nullptr;
    ScreenObject* hintMarkerA = nullptr;
    ScreenObject* hintMarkerB = nullptr;
    std::unique_ptr<MatchSetup> matchSetup;
    std::unique_ptr<GameClock> clock;
    bool awaitingTimeUp = false;  // the clock ran out; the grid has not reported idle since
    bool playing = false;         // from the end of the go banner to time up
    bool pausedByButton = false;
    ScreenObject* menuButton = nullptr;
    ScreenObject* pauseButton = nullptr;
    std::unique_ptr<MessageSystem> messages;
    std::unique_ptr<PieceGrid> grid;
    std::unique_ptr<GoalSystem> goals;
    std::unique_ptr<ScreenObject> cover;  // in neither list; drawn last

    MainScreen(GameApp& app, GUISystem& gui);
    ~MainScreen() override;

    void init() override;
    // A new match between the play state's current teams.
    void enter() override;
    // The grid, the collection of its pieces, the clock, the goal system, the banners.
    void update() override;
    void onEvent(int32_t id, void* param) override;
    // Also ends the match's components: the pieces, the clock, the goals and the banner go.
    void deleteVisitObjects() override;
    // The first piece under the point takes the click; otherwise the goal system's buttons,
    // then the screen's own objects.
    void onMouseUp(int x, int y) override;
    void collectDrawList(DrawList& list) override;

    // Pauses or resumes the grid, the clock and the goal system together.
    void togglePause();

private:
    void collectPieces();
    void openMenu();
    // The sounds of what the last update changed: goals, power-ups earned and used.
    void playScoreSounds();
    void rememberScores();
    // Tells the diagnostics how the match ended.
    void reportResult();

    // Sound bookkeeping only; the match never reads it.
    int cascadeStep = 0;  // clears since the last swap: each sounds a little higher
    int lastPlayerGoals = 0;
    int lastOpponentGoals = 0;
    std::array<int, 4> lastHeld{};

    // GridHost and EventSink: the components' events go to the current screen; random values
    // come from the application's generator.
    void sendEvent(int32_t id, void* param) override;
    uint32_t randomValue() override;
};

}  // namespace Kelvane

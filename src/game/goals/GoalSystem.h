// The goal system of a match: the computer opponent's bar, both teams' goals, the player's points
// and the four power-ups with their meters.
//
// The opponent has no board: its bar creeps up the left of the screen, one pixel per step at a
// speed set by the opposing team, and each time it reaches the top the opponent scores and the
// bar drops back. The player scores one goal for every three balls cleared at once, earns 10
// points for every cleared piece and charges a meter per power-up by clearing its pieces; a
// full meter gives one power-up. Using a power-up slows (injury), freezes (yellow card) or
// drops back (red card) the opponent's bar, or takes back one of its goals (offside).
//
// The match screen starts it on every visit, updates it once per update tick after the grid and
// the clock, hands it every clear, lets it see every screen event and the clicks no piece took,
// and draws its objects. Everything is counted in update ticks; nothing needs a window or loaded
// data (an image or font id that is not bound leaves the sizes taken from it alone).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "game/screens/ScreenIds.h"
#include "game/screens/ScreenObject.h"

namespace Kelvane {

class BoardObject;
class EventSink;
struct Match;
struct Profile;

class GoalSystem {
public:
    // The power-ups, also the index of everything kept per power-up.
    enum PowerUp : int { Injury = 0, RedCard = 1, YellowCard = 2, Offside = 3 };
    static constexpr int kPowerUpCount = 4;

    // Screen events.
    static constexpr int32_t kUseInjuryEvent = EVENT_POWERUP_FIRST;
    static constexpr int32_t kUseRedCardEvent = EVENT_POWERUP_FIRST + 1;
    static constexpr int32_t kUseYellowCardEvent = EVENT_POWERUP_FIRST + 2;
    static constexpr int32_t kUseOffsideEvent = EVENT_POWERUP_LAST;
    static constexpr int32_t kInertObjectId = OBJECT_COVER;  // clicks on these mean nothing

    // The opponent's bar: its bottom edge stays at 391, its top climbs from 346 to 125.
    static constexpr float kBarBottomY = 346.0f;
    static constexpr float kBarTopY = 125.0f;
    static constexpr int kPiecePoints =
        10;  // per cleared piece, and pending meter points per piece
    static constexpr int kEffectUpdates = 400;  // the effect timers run from 1 to this
    static constexpr int kInjuryPeriod = 20;    // the opponent's period while an injury runs

    bool resetting = false;                    // the bar is dropping back
    std::array<int, kPowerUpCount> held{};     // power-ups held
    std::array<int, kPowerUpCount> fill{};     // meter fill, percent
    std::array<int, kPowerUpCount> pending{};  // points still to move into the meter
    // Non-owning pointers into `objects`.
    std::array<ScreenObject*, kPowerUpCount> buttons{};
    std::array<ScreenObject*, kPowerUpCount> fillers{};
    std::array<ScreenObject*, kPowerUpCount> countTexts{};
    std::vector<std::unique_ptr<ScreenObject>> objects;  // creation order is the draw order
    ScreenObject* scoreTextA = nullptr;
    ScreenObject* scoreTextB = nullptr;
    ScreenObject* opponentBar = nullptr;
    ScreenObject* opponentArrow = nullptr;
    ScreenObject* pointsText = nullptr;
    int stepCounter = 1;
    bool frozen = false;    // the bar does not move
    int currentPeriod = 0;  // updates per bar step (a step every period - 1 updates)
    int injuryTimer = 1;
    bool injuryEffect = false;
    int yellowCardTimer = 1;
    bool yellowCardEffect = false;
    int normalPeriod = 0;  // the opposing team's period
    int goalsA = 0;
    int goalsB = 0;
    bool waiting = false;  // set by start and storeResults, cleared when play starts
    bool paused = false;   // flipped by the match screen's pause
    int matchPoints = 0;

    // `events` receives the click events; it must outlive the goal system.
    explicit GoalSystem(EventSink& events);
    ~GoalSystem();
    GoalSystem(const GoalSystem&) = delete;
    GoalSystem& operator=(const GoalSystem&) = delete;

    // A new match between the match record's two teams, the player's side being the team with
    // the profile's nation: the power-ups held come from the profile, goals, points and meters
    // start at zero, and the objects are created (replacing any left from an earlier match).
    // Both records must outlive the match (until reset); the result is written into `match`.
    void start(Match& match, Profile& profile);
    // Deletes the objects and clears the counts, meters, effects and scores.
    void reset();
    // One update tick; nothing while waiting or paused: the meters, the opponent's bar and its
    // drop-back, then the effect timers.
    void update();
    // A finished clear: points, pending meter points and the player's goals.
    void scoreClearedPieces(const std::vector<BoardObject*>& pieces);
    // Every screen event of the match screen: 40 to 43 use a power-up; ignored while waiting or
    // paused.
    void onEvent(int32_t id, void* param);
    // A click no piece took: the first object of the list under it sends its id and param.
    void onMouseUp(int x, int y);
    // Time is up: start waiting and store the power-ups, meters and match points in the profile.
    void storeResults();
    // Appends the objects in list order.
    void addToDrawList(DrawList& list);

    // Whether team A is the player's side of the started match.
    bool teamAIsHuman() const { return teamAHuman; }

private:
    void createObjects();
    void createPowerUpPanel(PowerUp kind, float top, int32_t imageId, int32_t eventId);
    ScreenObject* add(float x, float y);
    void refreshScores();
    void refreshCount(PowerUp kind);
    void stepMeters();
    void stepOpponent();
    void stepDropBack();
    void stepEffects();
    void opponentScores();
    void startDropBack();
    void setButtonsClickable(bool clickable);
    void usePowerUp(PowerUp kind);
    void followBarWithArrow();

    EventSink& events;
    Match* match = nullptr;
    Profile* profile = nullptr;
    bool teamAHuman = false;
};

}  // namespace Kelvane

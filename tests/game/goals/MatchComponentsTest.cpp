// The grid, the clock and the goal system driven together the way the match screen drives them:
// the grid first, then the clock, then the goal system, with the grid's and the clock's events
// routed between them (the banners between the opening drop and play are skipped).
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "GoalsFixtures.h"
#include "game/goals/GameClock.h"
#include "game/goals/GoalSystem.h"
#include "game/grid/PieceGrid.h"
#include "game/save/Profile.h"
#include "game/tour/Match.h"
#include "game/tour/Team.h"

namespace Kelvane {
namespace {

class MiniMatch : public GridHost, public EventSink {
public:
    PieceGrid grid{*this};
    GameClock clock{*this};
    GoalSystem goals{*this};
    std::vector<int> events;
    int clearedPieces = 0;
    bool awaitingTimeUp = false;
    bool playing = false;
    bool resultsStored = false;
    int updates = 0;
    int playStartedAt = 0;  // the update in which play started
    int timeUpAt = 0;       // the update in which event 24 came

    explicit MiniMatch(uint32_t seed) : random(seed) {}

    void start(Match& match, Profile& profile) {
        grid.start(
            {Piece::Ball, Piece::RedCard, Piece::Injury, Piece::YellowCard, Piece::OffsideFlag});
        grid.requestIntroDrop();
        grid.collectPieces();
        clock.place(280, 388, GameClock::kBarMode);
        goals.start(match, profile);
    }

    void update() {
        ++updates;
        grid.update();
        grid.collectPieces();
        clock.update();
        goals.update();
    }

    void togglePause() {
        grid.togglePause();
        clock.paused = !clock.paused;
        goals.paused = !goals.paused;
    }

    void sendEvent(int32_t id, void* param) override {
        events.push_back(id);
        switch (id) {
            case PieceGrid::kEventIntroDropFinished:
                goals.waiting = false;
                clock.waiting = false;
                playing = true;
                playStartedAt = updates;
                grid.resumeInput();
                break;
            case GameClock::kTimeUpEvent:
                awaitingTimeUp = true;
                playing = false;
                timeUpAt = updates;
                grid.lockInput();
                break;
            case PieceGrid::kEventPiecesCleared: {
                const std::vector<BoardObject*> cleared = grid.matchedList();
                clearedPieces += static_cast<int>(cleared.size());
                goals.scoreClearedPieces(cleared);
                clock.scoreClearedPieces(cleared);
                break;
            }
            case PieceGrid::kEventIdle:
                if (awaitingTimeUp) {
                    awaitingTimeUp = false;
                    goals.storeResults();
                    grid.lockInput();
                    resultsStored = true;
                }
                break;
            default:
                break;
        }
        goals.onEvent(id, param);
    }

    uint32_t randomValue() override { return static_cast<uint32_t>(random() >> 1); }
    int celColumns(int imageId) override {
        return imageId == pieceImageId(Piece::None) ? 1 : imageId == Res::IMAGE_HINT_ANIM ? 4 : 3;
    }

    // Swaps two neighbours whose exchange makes a line; false when the grid offers none.
    bool swapForALine() {
        for (int c = 0; c < 7; ++c) {
            for (int r = 0; r < 7; ++r) {
                for (auto [dc, dr] : {std::pair{1, 0}, std::pair{0, 1}}) {
                    BoardObject* a = grid.pieceAt(c, r);
                    BoardObject* b = grid.pieceAt(c + dc, r + dr);
                    if (!a || !b || a->kind == b->kind) continue;
                    std::swap(a->kind, b->kind);
                    const bool line = hasLine();
                    std::swap(a->kind, b->kind);
                    if (line) {
                        grid.clickPiece(a);
                        grid.clickPiece(b);
                        return true;
                    }
                }
            }
        }
        return false;
    }

private:
    bool hasLine() const {
        auto kind = [&](int c, int r) {
            const BoardObject* p = grid.pieceAt(c, r);
            return p ? p->kind : -1;
        };
        for (int c = 0; c < 7; ++c) {
            for (int r = 0; r < 7; ++r) {
                const int k = kind(c, r);
                if (c + 2 < 7 && kind(c + 1, r) == k && kind(c + 2, r) == k) return true;
                if (r + 2 < 7 && kind(c, r + 1) == k && kind(c, r + 2) == k) return true;
            }
        }
        return false;
    }

    std::mt19937 random;
};

class MatchComponentsTest : public ::testing::Test {
protected:
    testing::FakeResources res;
    Team brazil{1, "Brazil", 3200, Team::kNationOpponentPeriod};
    Team italy{7, "Italy", 2800, Team::kNationOpponentPeriod};
    Profile profile;
    Match match{&brazil, &italy};
    MiniMatch mini{20261210};

    void SetUp() override {
        profile.team = &brazil;
        mini.start(match, profile);
        for (int n = 0; n < 2000 && !mini.playing; ++n) mini.update();
        ASSERT_TRUE(mini.playing);
    }
};

TEST_F(MatchComponentsTest, AWholeMatchScoresEveryClearAndEndsOnce) {
    int swaps = 0;
    while (!mini.resultsStored && mini.updates < 20000) {
        if (mini.playing && mini.grid.wasIdle() && !mini.grid.isInputBlocked()) {
            swaps += mini.swapForALine() ? 1 : 0;
        }
        mini.update();
    }
    ASSERT_TRUE(mini.resultsStored);
    EXPECT_GT(swaps, 10);
    // The first running update of the clock is the one in which play started.
    EXPECT_EQ(mini.timeUpAt - mini.playStartedAt + 1, 9091);
    EXPECT_GT(mini.clearedPieces, 3 * swaps - 1);
    EXPECT_EQ(mini.goals.matchPoints, 10 * mini.clearedPieces);
    EXPECT_EQ(profile.lastMatchPoints, mini.goals.matchPoints);
    EXPECT_EQ(match.scoreA, mini.goals.goalsA);
    EXPECT_EQ(match.scoreB, mini.goals.goalsB);
    EXPECT_GE(match.scoreB, 3);  // a period-10 opponent scores about every 2220 updates
    EXPECT_EQ(profile.injuries, mini.goals.held[GoalSystem::Injury]);

    // Nothing more happens after the results are stored.
    const int points = mini.goals.matchPoints;
    for (int n = 0; n < 3000; ++n) mini.update();
    int timeUps = 0;
    for (int id : mini.events) timeUps += id == GameClock::kTimeUpEvent ? 1 : 0;
    EXPECT_EQ(timeUps, 1);
    EXPECT_EQ(mini.goals.matchPoints, points);
    EXPECT_EQ(match.scoreB, mini.goals.goalsB);
}

TEST_F(MatchComponentsTest, PausingFreezesClockBarMetersAndEffectsWhileTheGridAnimates) {
    ASSERT_TRUE(mini.swapForALine());
    mini.update();
    mini.togglePause();
    const int clockValue = mini.clock.timer->value;
    const int clockCounter = mini.clock.timer->counter;
    const float barY = mini.goals.opponentBar->y;
    const int stepCounter = mini.goals.stepCounter;
    for (int n = 0; n < 600; ++n) mini.update();
    // The swap, its clear and the refill ran to the end while paused.
    EXPECT_GT(mini.clearedPieces, 2);
    EXPECT_TRUE(mini.grid.wasIdle());
    EXPECT_EQ(mini.clock.timer->value, clockValue);
    EXPECT_EQ(mini.clock.timer->counter, clockCounter);
    EXPECT_FLOAT_EQ(mini.goals.opponentBar->y, barY);
    EXPECT_EQ(mini.goals.stepCounter, stepCounter);
    EXPECT_EQ(mini.goals.fill, (std::array<int, 4>{0, 0, 0, 0}));
    // The points of the clear are counted; the meters wait for play to resume.
    EXPECT_EQ(mini.goals.matchPoints, 10 * mini.clearedPieces);

    mini.togglePause();
    mini.update();
    EXPECT_EQ(mini.clock.timer->counter, clockCounter + 1);
    EXPECT_EQ(mini.goals.stepCounter, stepCounter + 1);
}

}  // namespace
}  // namespace Kelvane

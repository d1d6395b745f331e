#include "game/goals/GoalSystem.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "GoalsFixtures.h"
#include "game/grid/BoardObject.h"
#include "game/grid/PieceKind.h"
#include "game/save/Profile.h"
#include "game/tour/Match.h"
#include "game/tour/Team.h"

namespace Kelvane {
namespace {

using testing::EventRecorder;
using testing::FakeResources;

class GoalSystemTest : public ::testing::Test {
protected:
    FakeResources res;
    EventRecorder events;
    GoalSystem goals{events};
    Team brazil{1, "Brazil", 3200, Team::kNationOpponentPeriod};
    Team italy{7, "Italy", 2800, Team::kNationOpponentPeriod};
    Team chile{Team::kNoNation, "Chile", 0, 15};
    Profile profile;
    std::unique_ptr<Match> match;
    std::vector<std::unique_ptr<BoardObject>> pieces;

    void SetUp() override { profile.team = &brazil; }

    // A friendly match: the player is team A, the opponent a nation of period 10.
    void startFriendly() { startMatch(&brazil, &italy); }
    // A tour match: the opponent is team A, the player team B.
    void startTour(Team* opponent) { startMatch(opponent, &brazil); }
    void startMatch(Team* a, Team* b) {
        match = std::make_unique<Match>(a, b);
        goals.start(*match, profile);
    }
    void play() { goals.waiting = false; }
    void run(int updates) {
        for (int n = 0; n < updates; ++n) goals.update();
    }
    std::vector<BoardObject*> clear(const std::vector<PieceKind>& kinds) {
        std::vector<BoardObject*> list;
        for (PieceKind kind : kinds) {
            pieces.push_back(std::make_unique<BoardObject>(190.0f, 340.0f));
            pieces.back()->kind = kind;
            list.push_back(pieces.back().get());
        }
        return list;
    }
    void bindPanelImages() {
        for (int32_t id : {Res::IMAGE_YELLOW_CARD, Res::IMAGE_RED_CARD, Res::IMAGE_INJURY,
                           Res::IMAGE_OFFSIDE_FLAG}) {
            res.image(id, 40, 40);
        }
        res.image(Res::IMAGE_POWERUP_BACKGROUND, 60, 60);
        res.image(Res::IMAGE_POWERUP_FILLER, 8, 8);
        res.image(Res::IMAGE_POWERUP_OVERLAY, 60, 60);
        res.image(Res::IMAGE_BOARD_BACKGROUND, 300, 300);
    }
};

TEST_F(GoalSystemTest, ObjectsInTheirOrderAndPlaces) {
    res.image(Res::IMAGE_SCORE_OVERLAY, 60, 30);
    res.image(Res::IMAGE_OPPOSING_TEAM_ARROW, 30, 12);
    res.image(Res::IMAGE_OPPOSING_TEAM_FILLER, 5, 5);
    res.font(Res::FONT_ROCKWELLEXTRABOLD16, 10, 16);
    bindPanelImages();
    startFriendly();

    struct Expected {
        int32_t image;  // 133: a text
        float x, y;
        int32_t id;
    };
    const float baseline = 20 + (30 - 16) / 2 + 16;  // 43
    const std::vector<Expected> expected = {
        {Res::IMAGE_OPPOSING_TEAM_BACKGROUND, 24, 90, 1001},
        {Res::IMAGE_OPPOSING_TEAM_FILLER, 24, 346, 1001},
        {Res::IMAGE_OPPOSING_TEAM_OVERLAY, 24, 90, 1001},
        {Res::IMAGE_OPPOSING_TEAM_ARROW, 24, 346 - 12, 1001},
        {RESOURCE_ID_COUNT, 60 + 312, baseline, 1001},  // "Italy"
        {Res::IMAGE_SCORE_BACKGROUND, 292, 20, 1001},
        {RESOURCE_ID_COUNT, 292 + 25, baseline - 3, 1001},  // score B, "0" is 10 wide
        {Res::IMAGE_SCORE_OVERLAY, 292, 20, 1001},
        {RESOURCE_ID_COUNT, 202 - 60, baseline, 1001},  // "Brazil", right-aligned at 202
        {Res::IMAGE_SCORE_BACKGROUND, 222, 20, 1001},
        {RESOURCE_ID_COUNT, 222 + 25, baseline - 3, 1001},
        {Res::IMAGE_SCORE_OVERLAY, 222, 20, 1001},
        {Res::IMAGE_HUMAN_TEAM_INDICATOR, 202, 14, 1001},
    };
    std::vector<Expected> all = expected;
    const std::pair<int32_t, int32_t> panels[] = {{Res::IMAGE_YELLOW_CARD, 42},
                                                  {Res::IMAGE_RED_CARD, 41},
                                                  {Res::IMAGE_INJURY, 40},
                                                  {Res::IMAGE_OFFSIDE_FLAG, 43}};
    float top = 90;
    for (const auto& [image, id] : panels) {
        all.push_back({Res::IMAGE_POWERUP_BACKGROUND, 490, top, 1001});
        all.push_back({image, 500, top + 10, id});
        all.push_back({Res::IMAGE_POWERUP_FILLER, 490, top, 1001});
        all.push_back({Res::IMAGE_POWERUP_OVERLAY, 490, top, 1001});
        all.push_back({RESOURCE_ID_COUNT, 580, top + 40, 1001});
        top += 70;
    }
    all.push_back({Res::IMAGE_POINTS_BACKGROUND, 400, 10, 1001});
    all.push_back({RESOURCE_ID_COUNT, 460, 25, 1001});
    all.push_back({Res::IMAGE_BOARD_BACKGROUND, 180, 90, 1001});

    ASSERT_EQ(goals.objects.size(), all.size());
    for (size_t i = 0; i < all.size(); ++i) {
        const ScreenObject& o = *goals.objects[i];
        SCOPED_TRACE(::testing::Message() << "object " << i);
        if (all[i].image == RESOURCE_ID_COUNT) {
            EXPECT_TRUE(o.hasText);
            EXPECT_FALSE(o.hasImage);
        } else {
            EXPECT_EQ(o.imageId, all[i].image);
        }
        EXPECT_FLOAT_EQ(o.x, all[i].x);
        EXPECT_FLOAT_EQ(o.y, all[i].y);
        EXPECT_EQ(o.id, all[i].id);
    }

    EXPECT_EQ(goals.objects[4]->text, "Italy");
    EXPECT_EQ(goals.objects[8]->text, "Brazil");
    for (ScreenObject* text : {goals.objects[4].get(), goals.scoreTextA, goals.scoreTextB,
                               goals.countTexts[GoalSystem::Injury]}) {
        EXPECT_EQ(text->textColor.alpha, 255);
        EXPECT_EQ(text->textColor.red + text->textColor.green + text->textColor.blue, 0);
    }
    EXPECT_EQ(goals.pointsText->textColor.red, 255);  // the points keep the default white
    EXPECT_EQ(goals.pointsText->fontId, Res::FONT_ROCKWELLEXTRABOLD10);
    EXPECT_FALSE(goals.opponentBar->naturalSize);
    EXPECT_FLOAT_EQ(goals.opponentBar->width, 100.0f);
    EXPECT_FLOAT_EQ(goals.opponentBar->height, 45.0f);
    EXPECT_FALSE(goals.fillers[GoalSystem::Offside]->naturalSize);
    EXPECT_FLOAT_EQ(goals.fillers[GoalSystem::Offside]->width, 60.0f);
    EXPECT_FLOAT_EQ(goals.fillers[GoalSystem::Offside]->height, 60.0f);
    EXPECT_FALSE(goals.fillers[GoalSystem::Offside]->clickable);
    EXPECT_EQ(match->scoreA, 0);
    EXPECT_EQ(match->scoreB, 0);

    DrawList list;
    goals.addToDrawList(list);
    ASSERT_EQ(list.size(), goals.objects.size());
    EXPECT_EQ(list.front(), goals.objects.front().get());
    EXPECT_EQ(list.back(), goals.objects.back().get());
}

TEST_F(GoalSystemTest, ThePlayerMarkerAndTheOpponentFollowTheHumanSide) {
    startTour(&chile);
    EXPECT_FALSE(goals.teamAIsHuman());
    EXPECT_FLOAT_EQ(goals.objects[12]->x, 352.0f);
    EXPECT_EQ(goals.normalPeriod, 15);  // Chile's
    EXPECT_EQ(goals.currentPeriod, 15);

    profile.team = &italy;
    startMatch(&italy, &brazil);
    EXPECT_TRUE(goals.teamAIsHuman());
    EXPECT_FLOAT_EQ(goals.objects[12]->x, 202.0f);
    EXPECT_EQ(goals.normalPeriod, 10);
}

TEST_F(GoalSystemTest, StartTakesThePowerUpsFromTheProfileAndWaits) {
    profile.redCards = 1;
    profile.yellowCards = 2;
    profile.injuries = 3;
    profile.offsideFlags = 4;
    profile.injuryFill = 50;  // meters always start empty
    startFriendly();
    EXPECT_EQ(goals.held[GoalSystem::RedCard], 1);
    EXPECT_EQ(goals.held[GoalSystem::YellowCard], 2);
    EXPECT_EQ(goals.held[GoalSystem::Injury], 3);
    EXPECT_EQ(goals.held[GoalSystem::Offside], 4);
    EXPECT_EQ(goals.countTexts[GoalSystem::Offside]->text, "4");
    EXPECT_EQ(goals.fill[GoalSystem::Injury], 0);
    EXPECT_TRUE(goals.waiting);
    EXPECT_FALSE(goals.paused);
    EXPECT_EQ(goals.stepCounter, 1);

    // Waiting: no update and no power-up.
    run(50);
    goals.onEvent(GoalSystem::kUseRedCardEvent, nullptr);
    EXPECT_EQ(goals.stepCounter, 1);
    EXPECT_EQ(goals.held[GoalSystem::RedCard], 1);
}

TEST_F(GoalSystemTest, ScoringAClear) {
    using namespace Piece;
    struct Case {
        const char* name;
        std::vector<PieceKind> kinds;
        bool tour;  // the player is team B
        int playerGoals;
        int points;
        std::array<int, 4> pending;  // injury, red card, yellow card, offside
    };
    const std::vector<Case> cases = {
        {"three balls and three red cards",
         {Ball, Ball, Ball, RedCard, RedCard, RedCard},
         false,
         1,
         60,
         {0, 30, 0, 0}},
        {"five balls", {Ball, Ball, Ball, Ball, Ball}, false, 1, 50, {0, 0, 0, 0}},
        {"six balls", {Ball, Ball, Ball, Ball, Ball, Ball}, false, 2, 60, {0, 0, 0, 0}},
        {"two balls", {Ball, Ball}, false, 0, 20, {0, 0, 0, 0}},
        {"one of each power-up",
         {Injury, YellowCard, OffsideFlag, RedCard},
         false,
         0,
         40,
         {10, 10, 10, 10}},
        {"kinds that are never dealt",
         {CornerFlag, Money, ExtraTime, None},
         false,
         0,
         0,
         {0, 0, 0, 0}},
        {"three balls on the tour", {Ball, Ball, Ball}, true, 1, 30, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.tour) {
            startTour(&chile);
        } else {
            startFriendly();
        }
        play();
        goals.scoreClearedPieces(clear(c.kinds));
        const int player = c.tour ? goals.goalsB : goals.goalsA;
        const int opponent = c.tour ? goals.goalsA : goals.goalsB;
        EXPECT_EQ(player, c.playerGoals);
        EXPECT_EQ(opponent, 0);
        EXPECT_EQ(c.tour ? match->scoreB : match->scoreA, c.playerGoals);
        EXPECT_EQ((c.tour ? goals.scoreTextB : goals.scoreTextA)->text,
                  std::to_string(c.playerGoals));
        EXPECT_EQ(goals.matchPoints, c.points);
        EXPECT_EQ(goals.pointsText->text, std::to_string(c.points));
        EXPECT_EQ(goals.pending, c.pending);
    }
}

TEST_F(GoalSystemTest, MetersFillOnePercentPerUpdateIntoAPowerUp) {
    startFriendly();
    play();
    using namespace Piece;
    goals.scoreClearedPieces(clear({Injury, Injury, Injury, Injury, Injury, Injury, Injury, Injury,
                                    Injury, Injury, Injury, Injury}));
    EXPECT_EQ(goals.pending[GoalSystem::Injury], 120);
    run(30);
    EXPECT_EQ(goals.fill[GoalSystem::Injury], 30);
    EXPECT_NEAR(goals.fillers[GoalSystem::Injury]->height, 42.0f, 1e-4);
    EXPECT_FLOAT_EQ(goals.fillers[GoalSystem::RedCard]->height, 60.0f);
    run(70);
    EXPECT_EQ(goals.fill[GoalSystem::Injury], 100);
    EXPECT_NEAR(goals.fillers[GoalSystem::Injury]->height, 0.0f, 1e-4);
    EXPECT_EQ(goals.held[GoalSystem::Injury], 0);
    // The next update turns the full meter into a power-up and goes on with what is pending.
    run(1);
    EXPECT_EQ(goals.held[GoalSystem::Injury], 1);
    EXPECT_EQ(goals.countTexts[GoalSystem::Injury]->text, "1");
    EXPECT_EQ(goals.fill[GoalSystem::Injury], 1);
    EXPECT_EQ(goals.pending[GoalSystem::Injury], 19);
    run(100);
    EXPECT_EQ(goals.fill[GoalSystem::Injury], 20);
    EXPECT_EQ(goals.pending[GoalSystem::Injury], 0);
    EXPECT_EQ(goals.held[GoalSystem::Injury], 1);
}

TEST_F(GoalSystemTest, OpponentOfPeriodTenClimbsToTheTopAndScoresOnThe222ndStep) {
    res.image(Res::IMAGE_OPPOSING_TEAM_ARROW, 30, 12);
    startFriendly();
    play();
    ScreenObject& bar = *goals.opponentBar;
    int steps = 0;
    for (int n = 1; n <= 1998; ++n) {
        const float before = bar.y;
        goals.update();
        if (bar.y < before) {
            ++steps;
            ASSERT_EQ(n, 9 * steps) << "a pixel every 9 updates";
            ASSERT_FLOAT_EQ(bar.y, 346.0f - steps);
            ASSERT_FLOAT_EQ(bar.height, 45.0f + steps);
        }
        ASSERT_FLOAT_EQ(goals.opponentArrow->y, bar.y - 12.0f);
        if (n == 1989) {
            EXPECT_EQ(steps, 221);
            EXPECT_FLOAT_EQ(bar.y, 125.0f);
        }
        ASSERT_EQ(goals.goalsB, n < 1998 ? 0 : 1) << "update " << n;
        if (n == 1997) {
            EXPECT_FALSE(goals.resetting);
        }
    }
    EXPECT_EQ(match->scoreB, 1);
    EXPECT_EQ(goals.scoreTextB->text, "1");
    EXPECT_EQ(goals.goalsA, 0);
    EXPECT_TRUE(goals.frozen);
    EXPECT_TRUE(goals.resetting);
    for (ScreenObject* button : goals.buttons) EXPECT_FALSE(button->clickable);

    // The drop-back runs a pixel per update from the update of the goal on, then the bar is free.
    EXPECT_FLOAT_EQ(bar.y, 126.0f);
    run(220);
    EXPECT_FLOAT_EQ(bar.y, 346.0f);
    EXPECT_FLOAT_EQ(bar.height, 45.0f);
    EXPECT_FLOAT_EQ(goals.opponentArrow->y, 334.0f);
    EXPECT_TRUE(goals.resetting);
    run(1);
    EXPECT_FALSE(goals.resetting);
    EXPECT_FALSE(goals.frozen);
    for (ScreenObject* button : goals.buttons) EXPECT_TRUE(button->clickable);
    // And it climbs again.
    run(9);
    EXPECT_FLOAT_EQ(bar.y, 345.0f);
}

TEST_F(GoalSystemTest, TheTourOpponentScoresForTeamA) {
    Team quick{Team::kNoNation, "World XI", 0, 2};
    startTour(&quick);
    play();
    run(222);  // a step per update: 221 to the top, the goal on the next
    EXPECT_EQ(goals.goalsA, 1);
    EXPECT_EQ(goals.goalsB, 0);
    EXPECT_EQ(match->scoreA, 1);
}

TEST_F(GoalSystemTest, RedCardDropsTheBarBackWithoutAGoal) {
    profile.redCards = 1;
    startFriendly();
    play();
    run(9 * 50);
    EXPECT_FLOAT_EQ(goals.opponentBar->y, 296.0f);
    goals.onEvent(GoalSystem::kUseRedCardEvent, nullptr);
    EXPECT_EQ(goals.held[GoalSystem::RedCard], 0);
    EXPECT_EQ(goals.countTexts[GoalSystem::RedCard]->text, "0");
    EXPECT_TRUE(goals.frozen);
    EXPECT_TRUE(goals.resetting);
    run(50);
    EXPECT_FLOAT_EQ(goals.opponentBar->y, 346.0f);
    run(1);
    EXPECT_FALSE(goals.resetting);
    EXPECT_EQ(goals.goalsA + goals.goalsB, 0);
}

TEST_F(GoalSystemTest, RedCardWithAnEmptyBarEndsItsDropBackInTheNextUpdate) {
    profile.redCards = 2;
    startFriendly();
    play();
    goals.onEvent(GoalSystem::kUseRedCardEvent, nullptr);
    EXPECT_TRUE(goals.resetting);
    run(1);
    EXPECT_FALSE(goals.resetting);
    EXPECT_FALSE(goals.frozen);
    EXPECT_FLOAT_EQ(goals.opponentBar->y, 346.0f);
    EXPECT_EQ(goals.held[GoalSystem::RedCard], 1);
}

TEST_F(GoalSystemTest, YellowCardFreezesTheBarUntilItsTimerReaches400) {
    profile.yellowCards = 1;
    startFriendly();
    play();
    run(5);  // counter at 6
    goals.onEvent(GoalSystem::kUseYellowCardEvent, nullptr);
    EXPECT_EQ(goals.held[GoalSystem::YellowCard], 0);
    run(399);
    EXPECT_FLOAT_EQ(goals.opponentBar->y, 346.0f);
    EXPECT_EQ(goals.stepCounter, 6);
    EXPECT_FALSE(goals.frozen);
    EXPECT_FALSE(goals.yellowCardEffect);
    EXPECT_EQ(goals.yellowCardTimer, 1);
    run(4);
    EXPECT_FLOAT_EQ(goals.opponentBar->y, 345.0f);
}

TEST_F(GoalSystemTest, InjurySlowsTheBarToPeriodTwentyFor400Updates) {
    profile.injuries = 1;
    startFriendly();
    play();
    goals.onEvent(GoalSystem::kUseInjuryEvent, nullptr);
    EXPECT_EQ(goals.held[GoalSystem::Injury], 0);
    EXPECT_EQ(goals.currentPeriod, 20);
    run(398);  // a step every 19 updates
    EXPECT_FLOAT_EQ(goals.opponentBar->y, 346.0f - 20);
    EXPECT_EQ(goals.currentPeriod, 20);
    run(1);  // the timer reaches 400: back to period 10
    EXPECT_FLOAT_EQ(goals.opponentBar->y, 346.0f - 21);
    EXPECT_EQ(goals.currentPeriod, 10);
    EXPECT_FALSE(goals.injuryEffect);
    EXPECT_EQ(goals.injuryTimer, 1);
    run(9);
    EXPECT_FLOAT_EQ(goals.opponentBar->y, 346.0f - 22);
}

TEST_F(GoalSystemTest, TheBarKeepsClimbingWhenAnInjuryEndsAboveTheNormalPeriod) {
    profile.injuries = 2;
    startFriendly();
    play();
    goals.onEvent(GoalSystem::kUseInjuryEvent, nullptr);
    run(15);                                              // counter 16 of 20
    goals.onEvent(GoalSystem::kUseInjuryEvent, nullptr);  // a second one runs 400 more updates
    run(399);
    ASSERT_EQ(goals.currentPeriod, 10);
    ASSERT_GT(goals.stepCounter, 10);
    const float y = goals.opponentBar->y;
    run(1);  // past the period: a step
    EXPECT_FLOAT_EQ(goals.opponentBar->y, y - 1);
    run(9);
    EXPECT_FLOAT_EQ(goals.opponentBar->y, y - 2);
}

TEST_F(GoalSystemTest, OffsideTakesBackAnOpponentGoalOrKeepsThePowerUp) {
    profile.offsideFlags = 1;
    startFriendly();
    play();
    goals.onEvent(GoalSystem::kUseOffsideEvent, nullptr);
    EXPECT_EQ(goals.held[GoalSystem::Offside], 1);
    EXPECT_EQ(goals.countTexts[GoalSystem::Offside]->text, "1");

    goals.goalsB = 2;
    goals.onEvent(GoalSystem::kUseOffsideEvent, nullptr);
    EXPECT_EQ(goals.goalsB, 1);
    EXPECT_EQ(match->scoreB, 1);
    EXPECT_EQ(goals.scoreTextB->text, "1");
    EXPECT_EQ(goals.held[GoalSystem::Offside], 0);

    // On the tour the opponent is team A; the player's own goals are never taken.
    profile.offsideFlags = 1;
    startTour(&chile);
    play();
    goals.goalsB = 3;
    goals.onEvent(GoalSystem::kUseOffsideEvent, nullptr);
    EXPECT_EQ(goals.goalsB, 3);
    EXPECT_EQ(goals.held[GoalSystem::Offside], 1);
    goals.goalsA = 1;
    goals.onEvent(GoalSystem::kUseOffsideEvent, nullptr);
    EXPECT_EQ(goals.goalsA, 0);
    EXPECT_EQ(goals.held[GoalSystem::Offside], 0);
}

TEST_F(GoalSystemTest, PowerUpsWithNoneHeldDoNothing) {
    startFriendly();
    play();
    for (int32_t id : {40, 41, 42, 43}) goals.onEvent(id, nullptr);
    EXPECT_FALSE(goals.frozen);
    EXPECT_FALSE(goals.resetting);
    EXPECT_FALSE(goals.injuryEffect);
    EXPECT_EQ(goals.currentPeriod, 10);
    EXPECT_EQ(goals.held, (std::array<int, 4>{0, 0, 0, 0}));
}

TEST_F(GoalSystemTest, PowerUpClicksDuringADropBackDoNothing) {
    bindPanelImages();
    profile.yellowCards = 1;
    profile.redCards = 1;
    startFriendly();
    play();
    goals.onMouseUp(510, 170);  // the red card button
    ASSERT_EQ(events.events.size(), 1u);
    EXPECT_EQ(events.events[0].id, GoalSystem::kUseRedCardEvent);
    goals.onEvent(events.events[0].id, events.events[0].param);
    run(9 * 30);  // the drop-back has ended, the bar climbs again
    ASSERT_FALSE(goals.resetting);

    goals.onEvent(GoalSystem::kUseRedCardEvent, nullptr);               // none left: no drop-back
    for (int n = 0; n < 3000 && !goals.resetting; ++n) goals.update();  // up to a goal
    ASSERT_TRUE(goals.resetting);
    ASSERT_EQ(goals.goalsB, 1);
    events.events.clear();
    for (int y : {100, 170, 240, 310}) goals.onMouseUp(510, y);
    EXPECT_TRUE(events.events.empty());
    EXPECT_EQ(goals.held[GoalSystem::YellowCard], 1);
}

TEST_F(GoalSystemTest, AClickSendsTheIdOfTheFirstObjectUnderIt) {
    bindPanelImages();
    startFriendly();
    goals.onMouseUp(520, 110);  // the yellow card button over its panel
    goals.onMouseUp(200, 200);  // the board frame: an inert object
    goals.onMouseUp(5, 5);      // nothing
    ASSERT_EQ(events.events.size(), 2u);
    EXPECT_EQ(events.events[0].id, GoalSystem::kUseYellowCardEvent);
    EXPECT_EQ(events.events[1].id, GoalSystem::kInertObjectId);
}

TEST_F(GoalSystemTest, PausingFreezesTheBarTheMetersAndTheEffectTimers) {
    profile.yellowCards = 1;
    profile.injuries = 1;
    startFriendly();
    play();
    goals.scoreClearedPieces(clear(std::vector<PieceKind>(15, Piece::RedCard)));
    goals.onEvent(GoalSystem::kUseInjuryEvent, nullptr);
    run(50);
    const float barY = goals.opponentBar->y;
    const int counter = goals.stepCounter;
    const int fill = goals.fill[GoalSystem::RedCard];
    const int pending = goals.pending[GoalSystem::RedCard];
    const int injuryTimer = goals.injuryTimer;

    goals.paused = true;
    run(1000);
    goals.onEvent(GoalSystem::kUseYellowCardEvent, nullptr);  // ignored while paused
    EXPECT_FLOAT_EQ(goals.opponentBar->y, barY);
    EXPECT_EQ(goals.stepCounter, counter);
    EXPECT_EQ(goals.fill[GoalSystem::RedCard], fill);
    EXPECT_EQ(goals.pending[GoalSystem::RedCard], pending);
    EXPECT_EQ(goals.injuryTimer, injuryTimer);
    EXPECT_TRUE(goals.injuryEffect);
    EXPECT_EQ(goals.held[GoalSystem::YellowCard], 1);

    goals.paused = false;
    run(1);
    EXPECT_EQ(goals.injuryTimer, injuryTimer + 1);
    EXPECT_EQ(goals.fill[GoalSystem::RedCard], fill + 1);
}

TEST_F(GoalSystemTest, StoreResultsWritesThePowerUpsMetersAndPointsIntoTheProfile) {
    profile.redCards = 2;
    profile.yellowCards = 1;
    startFriendly();
    play();
    using namespace Piece;
    goals.scoreClearedPieces(clear({Injury, Injury, RedCard, OffsideFlag, OffsideFlag, OffsideFlag,
                                    YellowCard, Ball, Ball, Ball}));
    goals.onEvent(GoalSystem::kUseYellowCardEvent, nullptr);
    run(30);
    goals.storeResults();
    EXPECT_TRUE(goals.waiting);
    EXPECT_EQ(profile.redCards, 2);
    EXPECT_EQ(profile.yellowCards, 0);
    EXPECT_EQ(profile.offsideFlags, 0);
    EXPECT_EQ(profile.injuries, 0);
    EXPECT_EQ(profile.injuryFill, 20);
    EXPECT_EQ(profile.redCardFill, 10);
    EXPECT_EQ(profile.yellowCardFill, 10);
    EXPECT_EQ(profile.offsideFill, 30);
    EXPECT_EQ(profile.lastMatchPoints, 100);
    EXPECT_EQ(match->scoreA, 1);
    EXPECT_EQ(match->scoreB, 0);

    // Nothing runs after time is up.
    run(100);
    EXPECT_EQ(goals.fill[GoalSystem::Injury], 20);
}

TEST_F(GoalSystemTest, ResetDeletesTheObjectsAndClearsTheCountsButKeepsTheMatchRecord) {
    profile.redCards = 3;
    startFriendly();
    play();
    goals.scoreClearedPieces(clear({Piece::Ball, Piece::Ball, Piece::Ball, Piece::Injury}));
    goals.reset();
    EXPECT_TRUE(goals.objects.empty());
    EXPECT_EQ(goals.opponentBar, nullptr);
    EXPECT_EQ(goals.held, (std::array<int, 4>{0, 0, 0, 0}));
    EXPECT_EQ(goals.pending, (std::array<int, 4>{0, 0, 0, 0}));
    EXPECT_EQ(goals.goalsA, 0);
    EXPECT_EQ(match->scoreA, 1);
    // Nothing left to update, draw or click.
    goals.update();
    goals.onMouseUp(510, 170);
    goals.onEvent(GoalSystem::kUseRedCardEvent, nullptr);
    DrawList list;
    goals.addToDrawList(list);
    EXPECT_TRUE(list.empty());
    EXPECT_TRUE(events.events.empty());

    // A second start builds a fresh match.
    startFriendly();
    EXPECT_EQ(goals.held[GoalSystem::RedCard], 3);
    EXPECT_EQ(goals.matchPoints, 0);
    EXPECT_FLOAT_EQ(goals.opponentBar->y, 346.0f);
}

}  // namespace
}  // namespace Kelvane

// Frame timing of the main loop, driven by the fake clock.
#include <gtest/gtest.h>

#include "TestApp.h"

using ZarvoTest::TestApp;

namespace {

struct Counted {
    explicit Counted(int* deaths) : deaths_(deaths) {}
    ~Counted() { ++*deaths_; }
    int* deaths_;
};

TEST(MainLoop, IdleRunsOneHundredUpdatesPerSecondWithSleepsAndAPresentEachSecond) {
    TestApp app;
    app.InitAndLoad();
    app.RunFor(3000);
    // 10 ms per update: 300 in three seconds (the last wake-up may straddle the end). Nothing
    // changes on the screen, so after a few draws the loop wakes once per three updates.
    EXPECT_GE(app.totalUpdates, 297);
    EXPECT_LE(app.totalUpdates, 301);
    EXPECT_GE(app.totalSleeps, 95);
    EXPECT_LE(app.totalSleeps, 120);
    // The first frame, then one per second although nothing changed.
    EXPECT_GE(app.totalPresents, 3);
    EXPECT_LE(app.totalPresents, 4);
    EXPECT_EQ(app.loadingCompletedCalls, 1);
}

TEST(MainLoop, AfterAFiveSecondStallAtMostTwentyUpdatesCatchUp) {
    TestApp app;
    app.InitAndLoad();
    app.RunFor(500);
    // Stop right after an update so that nothing is owed.
    const int sleepsBefore = app.totalSleeps;
    while (app.totalSleeps == sleepsBefore) app.LoopStep();
    app.hp.clock.Advance(5000);
    const int updatesBefore = app.totalUpdates;
    const int sleeps = app.totalSleeps;
    while (app.totalSleeps == sleeps) app.LoopStep();
    // The account holds at most 200 ms: 20 updates of 10 ms, the rest of the stall is dropped.
    EXPECT_EQ(app.totalUpdates - updatesBefore, 20);
    // Catching up draws in between: never more than ten updates without a draw.
    EXPECT_LE(app.maxUpdatesBetweenDraws, 10);
}

TEST(MainLoop, DoubleSpeedHalvesTheStepAndAllowsTwentyUpdatesBetweenDraws) {
    TestApp app;
    app.speedFactor = 2.0;
    app.InitAndLoad();
    app.RunFor(1000);
    EXPECT_GE(app.totalUpdates, 197);  // a step of 5 ms (woken once per three when idle)
    EXPECT_LE(app.totalUpdates, 201);
    const int sleepsBefore = app.totalSleeps;
    while (app.totalSleeps == sleepsBefore) app.LoopStep();
    app.maxUpdatesBetweenDraws = 0;
    app.hp.clock.Advance(5000);
    const int before = app.totalUpdates;
    const int sleeps = app.totalSleeps;
    while (app.totalSleeps == sleeps) app.LoopStep();
    EXPECT_EQ(app.totalUpdates - before, 40);  // 200 ms at 5 ms per update
    EXPECT_GT(app.maxUpdatesBetweenDraws, 10);
    EXPECT_LE(app.maxUpdatesBetweenDraws, 20);
}

TEST(MainLoop, TimeStepRefusesWhereItWouldSleep) {
    TestApp app;
    app.InitAndLoad();
    app.RunFor(100);
    app.loopPhase = TestApp::kPhaseProcess1;
    app.drawOwed = false;
    app.owedTimeMs = 0;
    app.updatesSinceDraw = 0;
    const int sleeps = app.totalSleeps;
    const uint32_t now = app.Now();
    EXPECT_FALSE(app.TimeStep(false));
    EXPECT_EQ(app.totalSleeps, sleeps);
    EXPECT_EQ(app.Now(), now);
    app.loopPhase = TestApp::kPhaseProcess1;
    EXPECT_TRUE(app.TimeStep(true));
    EXPECT_EQ(app.totalSleeps, sleeps + 1);
}

TEST(MainLoop, StepUntilUpdatedRefusesOnlyAtTheExitToTop) {
    TestApp app;
    app.InitAndLoad();
    EXPECT_TRUE(app.StepUntilUpdated());
    app.Quit();  // sets the exit-to-top flag
    EXPECT_FALSE(app.StepUntilUpdated());
}

TEST(MainLoop, RefreshPacingThatRunsTooFastIsDetectedAndDropped) {
    TestApp app;
    app.refreshPacedUpdates = true;
    app.dirtyEveryUpdate = true;
    app.InitAndLoad();
    app.physicallyWindowed = false;  // updates locked to presents
    // Presents cost nothing, so each second of game time takes no real time at all.
    for (int i = 0; i < 399; ++i) app.StepUntilUpdated();
    EXPECT_FALSE(app.refreshPacingFailed);
    app.StepUntilUpdated();
    // First check starts the detector, the next three are strikes.
    EXPECT_TRUE(app.refreshPacingFailed);
    // From now on the plain time account paces the game: 100 updates per second.
    const int before = app.totalUpdates;
    app.RunFor(1000);
    EXPECT_GE(app.totalUpdates - before, 99);
    EXPECT_LE(app.totalUpdates - before, 101);
}

TEST(MainLoop, AHeldWindowIsNotCaughtUp) {
    TestApp app;
    app.InitAndLoad();
    app.RunFor(200);
    const int sleeps = app.totalSleeps;
    while (app.totalSleeps == sleeps) app.LoopStep();
    // The player holds the caption for three seconds; releasing it resets the backlog.
    app.hp.clock.Advance(3000);
    app.Post(Zarvo::Msg::kNcLButtonDown);
    const int before = app.totalUpdates;
    const int sleeps2 = app.totalSleeps;
    while (app.totalSleeps == sleeps2) app.LoopStep();
    EXPECT_LE(app.totalUpdates - before, 1);
}

TEST(MainLoop, WidgetQueuedBeforeANestedLoopSurvivesUntilItReturns) {
    TestApp app;
    app.InitAndLoad();
    int outerDeaths = 0, innerDeaths = 0;
    bool innerGoneInside = false, outerAliveInside = false;
    bool nested = false;
    bool innerQueued = false;
    app.onUpdate = [&](TestApp& a) {
        if (nested) {
            // An update inside the nested loop queues its own widget.
            if (!innerQueued) a.DeleteWidgetLater(new Counted(&innerDeaths));
            innerQueued = true;
            return;
        }
        if (a.totalUpdates != 5) return;
        nested = true;
        a.DeleteWidgetLater(new Counted(&outerDeaths));  // queued by the code opening the loop
        for (int i = 0; i < 3; ++i) a.StepUntilUpdated();
        innerGoneInside = innerDeaths == 1;
        outerAliveInside = outerDeaths == 0;
        nested = false;
    };
    app.RunFor(100);
    EXPECT_TRUE(innerGoneInside);
    EXPECT_TRUE(outerAliveInside);
    EXPECT_EQ(outerDeaths, 1);
    EXPECT_EQ(app.DeferredDeleteCount(), 0u);
}

TEST(MainLoop, StartWritesTheStatisticsWithoutAvgFpsWhenDrawingTookNoTime) {
    TestApp app;
    app.Init();
    app.onUpdate = [](TestApp& a) {
        if (a.totalUpdates == 50) a.Quit();
    };
    app.Start();
    const std::string& out = app.hp.debugText;
    EXPECT_NE(out.find("Seconds       = "), std::string::npos) << out;
    EXPECT_NE(out.find("Sleep Count   = "), std::string::npos) << out;
    EXPECT_NE(out.find("Update Count  = 50\n"), std::string::npos) << out;
    EXPECT_NE(out.find("Draw Count    = "), std::string::npos) << out;
    EXPECT_NE(out.find("Draw Time     = 0\n"), std::string::npos) << out;
    EXPECT_NE(out.find("Screen Blt    = 0\n"), std::string::npos) << out;
    EXPECT_EQ(out.find("Avg FPS"), std::string::npos) << out;
    EXPECT_LT(out.find("Seconds"), out.find("Sleep Count"));
    EXPECT_LT(out.find("Update Count"), out.find("Draw Count"));
}

TEST(MainLoop, StartWritesAvgFpsFromPresentCount) {
    TestApp app;
    app.presentCostMs = 4;
    app.Init();
    app.onUpdate = [](TestApp& a) {
        if (a.totalUpdates == 250) a.Quit();
    };
    app.Start();
    const std::string& out = app.hp.debugText;
    // Presents: the first frame and one per idle second; the last one took 4 ms.
    const int expected = app.totalPresents * 1000 / (app.totalDrawMs + 4);
    EXPECT_EQ(app.lastPresentMs, 4);
    EXPECT_NE(out.find("Avg FPS       = " + std::to_string(expected) + "\n"), std::string::npos)
        << out;
}

}  // namespace

namespace {

TEST(MainLoop, WhileLoadingFramesAreAtLeastFiftyMillisecondsApartAndTheLoopYields) {
    TestApp app;
    app.dirtyEveryUpdate = true;
    app.presentCostMs = 5;
    app.holdLoading = true;
    app.Init();
    app.BeginBackgroundLoading();
    app.RunFor(1000);
    ASSERT_GE(app.presentTicks.size(), 2u);
    for (size_t i = 1; i < app.presentTicks.size(); ++i) {
        EXPECT_GE(app.presentTicks[i] - app.presentTicks[i - 1], 50u) << i;
    }
    // No draw limit yet: updates still follow real time.
    EXPECT_GE(app.totalUpdates, 95);
    EXPECT_EQ(app.loadingCompletedCalls, 0);
    EXPECT_TRUE(app.yieldToLoader);

    app.holdLoading = false;
    app.AwaitBackgroundLoading();
    app.RunFor(100);
    EXPECT_EQ(app.loadingCompletedCalls, 1);
    EXPECT_FALSE(app.yieldToLoader);
    // Back to drawing every frame that changed.
    const size_t presents = app.presentTicks.size();
    app.RunFor(100);
    EXPECT_GE(app.presentTicks.size() - presents, 8u);
}

}  // namespace

namespace {

// The loop writes its diagnostics while the loading thread writes its own on finishing: both
// reach the platform whole.
TEST(MainLoop, DiagnosticsOfTheLoopAndOfTheFinishingLoaderAreBothKept) {
    TestApp app;
    app.holdLoading = true;
    app.Init();
    app.BeginBackgroundLoading();
    app.holdLoading = false;
    app.Post(Zarvo::Msg::kDestroy);
    app.AwaitBackgroundLoading();
    EXPECT_NE(app.hp.debugText.find("DESTROYED HWND: "), std::string::npos);
    EXPECT_NE(app.hp.debugText.find("Resource Loading Time: "), std::string::npos);
}

}  // namespace

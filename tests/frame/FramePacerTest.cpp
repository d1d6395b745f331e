// The frame pacer alone, on a fake clock with recorded work.
#include "frame/FramePacer.h"

#include <gtest/gtest.h>

#include "platform/FakeClock.h"

using namespace Zarvo;

namespace {

// Records the work the pacer asks for; an update may take time on the clock. A draw settles
// what is owed, as the application's does.
struct RecordingSteps : FramePacer::Steps {
    RecordingSteps(FakeClock& c, FramePacer& p) : clock(c), pacer(p) {}
    bool GuardedUpdate() override {
        if (refuse) return false;
        ++updates;
        clock.Advance(static_cast<uint32_t>(updateCostMs));
        return true;
    }
    void UpdateFraction(float fraction) override { lastFraction = fraction; }
    bool DrawIfDirty() override {
        ++draws;
        pacer.lastDrawFoundNothing = !changing;
        pacer.drawOwed = false;
        pacer.lastPresentTick = clock.Peek();
        return true;
    }
    void FlushDeferredDeletes() override { ++flushes; }
    FakeClock& clock;
    FramePacer& pacer;
    int updates = 0;
    int draws = 0;
    int flushes = 0;
    int updateCostMs = 0;
    bool refuse = false;   // no update may run
    bool changing = true;  // each draw finds something to draw
    float lastFraction = 0;
};

// Runs whole frames of the loop's process phases, as the loop step does after its input.
struct Harness {
    FakeClock clock{1000};
    FramePacer pacer;
    RecordingSteps steps{clock, pacer};
    FramePacer::Conditions conditions;
    Harness() {
        conditions.loadingCompletedTold = true;
        pacer.AdvanceTimeAccount(clock.Now());
    }
    bool Step(bool maySleep = true) {
        if (pacer.loopPhase == FramePacer::kPhaseDone ||
            pacer.loopPhase == FramePacer::kPhaseMessages)
            pacer.loopPhase = FramePacer::kPhaseProcess1;
        return pacer.PaceStep(maySleep, clock, steps, conditions);
    }
    void RunFor(uint32_t ms) {
        const uint32_t end = clock.Peek() + ms;
        while (static_cast<int32_t>(clock.Peek() - end) < 0) Step();
    }
};

TEST(FramePacer, UpdatesFollowRealTimeAndSleepBetween) {
    Harness h;
    h.RunFor(1000);
    EXPECT_GE(h.steps.updates, 99);
    EXPECT_LE(h.steps.updates, 101);
    EXPECT_GE(h.pacer.totalSleeps, 95);
}

TEST(FramePacer, AnUnchangingScreenWakesTheLoopOncePerThreeUpdatesAndAChangeEndsThat) {
    Harness h;
    h.steps.changing = false;
    h.RunFor(100);  // five draws that find nothing come first
    int updates = h.steps.updates, sleeps = h.pacer.totalSleeps;
    h.RunFor(3000);
    // Still 100 updates a second, in threes after one wake-up each.
    EXPECT_NEAR(h.steps.updates - updates, 300, 3);
    EXPECT_NEAR(h.pacer.totalSleeps - sleeps, 100, 2);

    h.steps.changing = true;
    h.RunFor(100);
    updates = h.steps.updates;
    sleeps = h.pacer.totalSleeps;
    h.RunFor(1000);
    EXPECT_NEAR(h.steps.updates - updates, 100, 2);
    EXPECT_NEAR(h.pacer.totalSleeps - sleeps, 100, 2);

    // Replays keep one wake-up per update.
    h.steps.changing = false;
    h.conditions.playingDemo = true;
    h.RunFor(200);
    sleeps = h.pacer.totalSleeps;
    h.RunFor(1000);
    EXPECT_NEAR(h.pacer.totalSleeps - sleeps, 100, 2);
}

TEST(FramePacer, TheAccountIsCappedSoAStallCatchesUpAtMostTwentyUpdates) {
    Harness h;
    h.RunFor(100);
    h.clock.Advance(5000);
    h.pacer.AdvanceTimeAccount(h.clock.Now());
    EXPECT_DOUBLE_EQ(h.pacer.owedTimeMs, FramePacer::kMaxOwedMs);
    const int before = h.steps.updates;
    const int sleeps = h.pacer.totalSleeps;
    while (h.pacer.totalSleeps == sleeps) h.Step();
    EXPECT_EQ(h.steps.updates - before, 20);
}

TEST(FramePacer, FewerThanTenUpdatesTimesTheSpeedRunBetweenDraws) {
    for (const double speed : {1.0, 2.0}) {
        Harness h;
        h.pacer.speedFactor = speed;
        h.clock.Advance(200);
        int most = 0, run = 0, draws = h.steps.draws;
        for (int i = 0; i < 200; ++i) {
            const int updates = h.steps.updates;
            h.Step();
            run += h.steps.updates - updates;
            if (h.steps.draws != draws) {
                most = std::max(most, run);
                run = 0;
                draws = h.steps.draws;
            }
        }
        // The count that reaches ten (times the speed) draws instead of updating.
        EXPECT_EQ(most, static_cast<int>(10 * speed) - 1) << speed;
    }
}

TEST(FramePacer, ARefusedUpdateEndsTheFrameAndWaitsOneStepInsteadOfSpinning) {
    Harness h;
    h.clock.Advance(50);
    h.steps.refuse = true;
    h.pacer.loopPhase = FramePacer::kPhaseProcess1;
    EXPECT_FALSE(h.pacer.PaceStep(false, h.clock, h.steps, h.conditions));
    const uint32_t before = h.clock.Peek();
    h.pacer.loopPhase = FramePacer::kPhaseProcess1;
    EXPECT_TRUE(h.pacer.PaceStep(true, h.clock, h.steps, h.conditions));
    EXPECT_EQ(h.pacer.loopPhase, FramePacer::kPhaseDone);  // input is drained next
    EXPECT_EQ(h.clock.Peek() - before, 10u);
    EXPECT_EQ(h.steps.updates, 0);
}

TEST(FramePacer, FastModeNeverSleepsAndDrawsAtMostEveryHundredMilliseconds) {
    Harness h;
    h.pacer.fastMode = true;
    h.steps.updateCostMs = 2;
    for (int i = 0; i < 3000; ++i) h.Step();
    EXPECT_EQ(h.pacer.totalSleeps, 0);
    EXPECT_GT(h.steps.updates, 900);
    // Real time passed only in the updates' work.
    EXPECT_EQ(h.clock.Peek() - 1000u, static_cast<uint32_t>(2 * h.steps.updates));
    EXPECT_LE(h.steps.draws, 1 + h.steps.updates * 2 / FramePacer::kFastPresentIntervalMs);
    EXPECT_GE(h.steps.draws, h.steps.updates * 2 / FramePacer::kFastPresentIntervalMs - 1);
}

TEST(FramePacer, WithoutSleepingAllowedItAnswersFalseWhereItWouldSleep) {
    Harness h;
    h.pacer.drawOwed = false;
    h.pacer.loopPhase = FramePacer::kPhaseDone;  // a draw decision with nothing owed: a sleep
    h.pacer.owedTimeMs = 0;
    EXPECT_FALSE(h.pacer.PaceStep(false, h.clock, h.steps, h.conditions));
    EXPECT_EQ(h.pacer.totalSleeps, 0);
    EXPECT_TRUE(h.pacer.PaceStep(true, h.clock, h.steps, h.conditions));
    EXPECT_EQ(h.pacer.totalSleeps, 1);
}

TEST(FramePacer, RefreshTimingThatRunsTooFastIsGivenUp) {
    Harness h;
    h.pacer.refreshPacedUpdates = true;
    h.conditions.physicallyWindowed = false;  // refresh-locked
    // Every present returns at once: a second of game time passes in far less real time.
    for (int i = 0; i < 2000 && !h.pacer.refreshPacingFailed; ++i) h.Step();
    EXPECT_TRUE(h.pacer.refreshPacingFailed);
}

TEST(FramePacer, PresentsAreDueOnChangeOrEachSecondAndSpacedWhileLoading) {
    FramePacer pacer;
    pacer.lastPresentTick = 1000;
    pacer.earliestPresentTick = 1000;
    EXPECT_FALSE(pacer.PresentDue(1500, false, false));
    EXPECT_TRUE(pacer.PresentDue(1500, true, false));
    EXPECT_TRUE(pacer.PresentDue(1500, false, true));
    EXPECT_TRUE(pacer.PresentDue(2000, false, false));
    // While loading: the next present at least 50 ms after the last earliest time.
    pacer.SchedulePresent(1000, 1005, true);
    EXPECT_EQ(pacer.earliestPresentTick.load(), 1050u);
    EXPECT_FALSE(pacer.PresentDue(1049, true, false));
    EXPECT_TRUE(pacer.PresentDue(1050, true, false));
    // A schedule that lies in the past starts from now; without loading, presents may follow.
    pacer.SchedulePresent(1990, 2000, true);
    EXPECT_EQ(pacer.earliestPresentTick.load(), 2000u);
    pacer.SchedulePresent(2000, 2003, false);
    EXPECT_EQ(pacer.earliestPresentTick.load(), 2003u);
}

}  // namespace

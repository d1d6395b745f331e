#include "frame/FramePacer.h"

#include <algorithm>
#include <cmath>

#include "platform/Clock.h"

namespace Zarvo {

void FramePacer::AdvanceTimeAccount(uint32_t now) {
    if (owedTimeTick == 0) {
        owedTimeTick = now;
        return;
    }
    const double elapsed = static_cast<double>(static_cast<int32_t>(now - owedTimeTick));
    owedTimeMs = std::min(owedTimeMs + elapsed, kMaxOwedMs);
    owedTimeTick = now;
}

void FramePacer::ForgetOwedTime(uint32_t now) {
    owedTimeMs = 0;
    owedTimeTick = now;
}

void FramePacer::CheckRefreshPacing(uint32_t now) {
    ++pacingCheckCount;
    if (pacingCheckCount < (updateIntervalMs + 999) / updateIntervalMs) return;
    if (static_cast<int32_t>(now - pacingCheckTick) > 800) {
        pacingStrikes = 0;
    } else if (++pacingStrikes >= 3) {
        refreshPacingFailed = true;
    }
    pacingCheckTick = now;
    pacingCheckCount = 0;
}

bool FramePacer::PaceStep(bool maySleep, Clock& clock, Steps& steps, const Conditions& conditions) {
    const bool refreshLocked =
        !conditions.playingDemo && !fastMode && refreshPacedUpdates && !lastDrawFoundNothing &&
        !refreshPacingFailed &&
        (!conditions.physicallyWindowed || (waitForVSync && !emulatedRefreshWait));
    float updatesPerPresent = 1.0f;
    double stepMs = updateIntervalMs / speedFactor;
    if (refreshPacedUpdates) {
        updatesPerPresent = static_cast<float>(1000.0 / (assumedRefreshHz * updateIntervalMs));
        stepMs = 1000.0 / assumedRefreshHz / speedFactor;
    }

    const uint32_t now = clock.Now();
    int sleptMs = 0;
    bool drawDecision = false;
    bool refused = false;
    if (speedFactor > 0) {
        if (fastMode) {
            // Updates run back to back: an update is always owed.
            owedTimeMs = kMaxOwedMs;
            owedTimeTick = now;
        } else if (!refreshLocked) {
            AdvanceTimeAccount(now);
        }

        if (loopPhase == kPhaseProcess1) {
            ++updatesSinceDraw;
            if (updatesSinceDraw >= static_cast<int>(std::ceil(speedFactor * 10.0)) &&
                (conditions.loadingCompletedTold || fastMode)) {
                drawDecision = true;
            } else {
                bool runNow = false;
                double threshold = stepMs;
                if (refreshLocked) {
                    if (!drawOwed)
                        runNow = true;
                    else
                        threshold = static_cast<int>(stepMs * 0.75);
                }
                if (!runNow && owedTimeMs < threshold) {
                    drawDecision = true;
                } else {
                    if (!conditions.playingDemo && !fastMode && speedFactor == 1.0)
                        CheckRefreshPacing(now);
                    if (steps.GuardedUpdate())
                        loopPhase = kPhaseProcess2;
                    else
                        refused = true;
                    drawOwed = true;
                }
            }
        } else if (loopPhase == kPhaseProcess2) {
            loopPhase = kPhaseDone;
            owedFractionalUpdates += updatesPerPresent - 1.0;
            steps.FlushDeferredDeletes();
            while (owedFractionalUpdates >= 1.0) {
                ++updatesSinceDraw;
                if (!steps.GuardedUpdate()) break;
                steps.FlushDeferredDeletes();
                owedFractionalUpdates -= 1.0;
            }
            steps.UpdateFraction(updatesPerPresent);
            steps.FlushDeferredDeletes();
            // Refreshes may take slightly longer than their nominal period.
            if (refreshLocked)
                owedTimeMs = std::max(owedTimeMs - stepMs - 0.2, 0.0);
            else
                owedTimeMs -= stepMs;
        } else {
            drawDecision = true;
        }
    }

    if (refused) {
        // No update may run yet (the loading thread is awaited, say): the frame ends so that
        // input is drained again, and the loop waits one step instead of spinning.
        loopPhase = kPhaseDone;
        if (!maySleep) return false;
        const int waitMs = std::max(1, static_cast<int>(updateIntervalMs / speedFactor));
        ++totalSleeps;
        clock.Sleep(waitMs);
        sleptMs = waitMs;
    }

    if (drawDecision) {
        loopPhase = kPhaseDone;
        updatesSinceDraw = 0;
        if (drawOwed) {
            // Fast updates draw only now and then, so that the machine's time goes to updates.
            if (!fastMode ||
                static_cast<int32_t>(now - lastPresentTick) >= kFastPresentIntervalMs) {
                steps.DrawIfDirty();
                idleDraws = lastDrawFoundNothing ? idleDraws + 1 : 0;
            }
        } else {
            const bool idle = idleDraws >= kIdleDrawsBeforeBatching && idleUpdatesPerWake > 1 &&
                              !conditions.playingDemo && !refreshLocked;
            const int sleepMs =
                static_cast<int>(stepMs * (idle ? idleUpdatesPerWake : 1) - owedTimeMs);
            if (sleepMs >= 1) {
                if (!maySleep) return false;
                ++totalSleeps;
                clock.Sleep(sleepMs);
                sleptMs = sleepMs;
            }
        }
    }

    // While resources load, the primary thread sleeps at least as long as it works.
    if (yieldToLoader) {
        int t = 2 * (static_cast<int>(clock.Now() - now) - sleptMs) - sleptMs;
        t = std::min(t, 250);
        if (t >= 0) {
            if (!maySleep) return false;
            clock.Sleep(t);
        }
    }

    steps.FlushDeferredDeletes();
    return true;
}

bool FramePacer::PresentDue(uint32_t now, bool drawn, bool cursorRedrawPending) const {
    return (drawn || static_cast<int32_t>(now - lastPresentTick) > 999 || cursorRedrawPending) &&
           static_cast<int32_t>(now - earliestPresentTick.load()) >= 0;
}

void FramePacer::SchedulePresent(uint32_t drawStart, uint32_t afterPresent, bool loaderRunning) {
    if (!loaderRunning) {
        earliestPresentTick = afterPresent;
        return;
    }
    const int drawDuration = static_cast<int>(afterPresent - drawStart);
    uint32_t next =
        earliestPresentTick.load() + static_cast<uint32_t>(std::max(drawDuration, 15) + 35);
    if (static_cast<int32_t>(next - afterPresent) < 0) next = afterPresent;
    earliestPresentTick = next;
}

}  // namespace Zarvo

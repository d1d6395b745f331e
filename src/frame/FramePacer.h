#pragma once
#include <atomic>
#include <cstdint>

namespace Zarvo {

class Clock;

// The main loop's frame timing: the account of real time owed to logic updates, the decision
// of each loop step to update, draw or sleep, and the pacing of presents.
//
// Updates are fixed steps of updateIntervalMs / speedFactor of real time. Catch-up is bounded:
// the account holds at most 200 ms, at most ceil(10 x speedFactor) updates run between two
// draws once loading is done, and time beyond the cap is dropped, so a slow machine runs in
// slow motion instead of spiralling. With refreshPacedUpdates one draw follows each display
// refresh and updates advance by the fraction of a refresh they cover.
//
// The pacer owns its state; the work it decides on is done through Steps.
class FramePacer {
public:
    // The work of a loop step, done by the application.
    class Steps {
    public:
        virtual ~Steps() = default;
        // One logic update; false when none may run.
        virtual bool GuardedUpdate() = 0;
        virtual void UpdateFraction(float fraction) = 0;
        // Draws and presents if needed; true when a frame was presented.
        virtual bool DrawIfDirty() = 0;
        virtual void FlushDeferredDeletes() = 0;
    };
    // What the pacer needs to know about the application at one step.
    struct Conditions {
        bool playingDemo = false;
        bool physicallyWindowed = true;
        bool loadingCompletedTold = false;  // the loading-completed hook has run
    };

    // The loop phases of one frame: drain and replay input, decide whether to update, run the
    // fractional and catch-up updates, frame done.
    enum LoopPhase : int {
        kPhaseMessages = 0,
        kPhaseProcess1 = 1,
        kPhaseProcess2 = 2,
        kPhaseDone = 3
    };

    // Largest account of owed time, in ms.
    static constexpr double kMaxOwedMs = 200.0;
    // With fastMode, the least real time between two draws, in ms.
    static constexpr int kFastPresentIntervalMs = 100;

    // One decision of a loop step (the phase says which): an update, the fractional updates
    // after it, or a draw or a sleep, then a yield to the loading thread. Answers false only
    // where it would have slept but `maySleep` is false. An update that is refused ends the
    // frame and waits one update interval.
    bool PaceStep(bool maySleep, Clock& clock, Steps& steps, const Conditions& conditions);
    // Adds the real time since the last call to the account (the first call only starts it).
    void AdvanceTimeAccount(uint32_t now);
    // Forgets owed time: a stall the player did not cause is not caught up.
    void ForgetOwedTime(uint32_t now);
    // Whether a frame is to be presented now: something was drawn, or a second passed since the
    // last present, or the cursor needs redrawing, and the earliest present time has come.
    bool PresentDue(uint32_t now, bool drawn, bool cursorRedrawPending) const;
    // Sets the earliest time of the next present after one that ended at `afterPresent`. While
    // the loading thread runs, frames are at least 50 ms apart.
    void SchedulePresent(uint32_t drawStart, uint32_t afterPresent, bool loaderRunning);

    int updateIntervalMs = 10;
    double speedFactor = 1.0;
    // Updates as fast as the machine allows instead of in real time: no time account, no
    // sleeping, a draw decision every ceil(10 x speedFactor) updates (also while loading) and
    // a draw at most every kFastPresentIntervalMs of real time. Which updates run, and in
    // which order with the input, does not change.
    bool fastMode = false;
    // While nothing changes on the screen (kIdleDrawsBeforeBatching draws in a row found
    // nothing to draw), the loop wakes once per idleUpdatesPerWake update intervals and runs the
    // owed updates back to back, instead of waking for every update: an idle game costs almost
    // nothing. The first change drawn brings back one wake-up per update. 1 turns it off.
    int idleUpdatesPerWake = 3;
    static constexpr int kIdleDrawsBeforeBatching = 5;
    int idleDraws = 0;
    int assumedRefreshHz = 100;
    bool refreshPacedUpdates = false;
    bool waitForVSync = false;
    bool emulatedRefreshWait = true;
    bool refreshPacingFailed = false;
    double owedTimeMs = 0;
    uint32_t owedTimeTick = 0;
    double owedFractionalUpdates = 0;
    int updatesSinceDraw = 0;
    bool drawOwed = true;
    bool lastDrawFoundNothing = false;
    int loopPhase = kPhaseMessages;
    int loopDepth = 0;
    int totalUpdates = 0;
    int totalPresents = 0;
    int totalSleeps = 0;
    int totalDrawMs = 0;
    int lastPresentMs = 0;
    uint32_t lastPresentTick = 0;
    std::atomic<uint32_t> earliestPresentTick{0};
    std::atomic<bool> yieldToLoader{false};
    int pacingCheckCount = 0;
    uint32_t pacingCheckTick = 0;
    int pacingStrikes = 0;

private:
    // Counts refresh-synchronised updates per second of game time; three seconds in a row that
    // took at most 800 ms of real time each mean the refresh timing cannot be trusted.
    void CheckRefreshPacing(uint32_t now);
};

}  // namespace Zarvo

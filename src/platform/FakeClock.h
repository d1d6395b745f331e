#pragma once
#include <atomic>
#include <functional>

#include "platform/Clock.h"

namespace Zarvo {

// A clock that stands still until advanced. Sleep advances it by the requested time at once, so
// a loop that sleeps to wait for its next frame runs through game time without real waiting.
// An optional hook runs on every Now() call so tests can model work that takes time.
class FakeClock : public Clock {
public:
    explicit FakeClock(uint32_t start = 1000) : now_(start) {}
    uint32_t Now() override {
        if (onNow_) onNow_(*this);
        return now_.load();
    }
    void Sleep(int ms) override {
        if (ms <= 0) return;
        now_ += static_cast<uint32_t>(ms);
        sleptMs_ += ms;
        ++sleeps_;
    }
    void Advance(uint32_t ms) { now_ += ms; }
    void Set(uint32_t t) { now_ = t; }
    uint32_t Peek() const { return now_.load(); }
    long long SleptMs() const { return sleptMs_; }
    int Sleeps() const { return sleeps_; }
    // Called at the start of every Now(); may Advance the clock (work that takes time).
    void SetOnNow(std::function<void(FakeClock&)> hook) { onNow_ = std::move(hook); }

private:
    std::atomic<uint32_t> now_;
    long long sleptMs_ = 0;
    int sleeps_ = 0;
    std::function<void(FakeClock&)> onNow_;
};

}  // namespace Zarvo

#pragma once
#include "platform/Clock.h"

namespace Zarvo {

// The machine's monotonic clock (std::chrono::steady_clock) with a 1 ms sleep resolution.
class RealClock : public Clock {
public:
    uint32_t Now() override;
    void Sleep(int ms) override;
};

}  // namespace Zarvo

#pragma once
#include <cstdint>
#include <memory>

namespace Zarvo {

// Millisecond time source and sleep of the main loop. The real clock follows the machine's
// monotonic time; the fake one only moves when told to (or when the loop sleeps on it), so loop
// timing can be driven exactly in tests.
class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary start; wraps like a 32-bit tick counter.
    virtual uint32_t Now() = 0;
    // Blocks the calling thread for about `ms` milliseconds (nothing for ms <= 0).
    virtual void Sleep(int ms) = 0;
};

}  // namespace Zarvo

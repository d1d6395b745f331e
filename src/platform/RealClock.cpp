#include "platform/RealClock.h"

#include <chrono>
#include <thread>

namespace Zarvo {

uint32_t RealClock::Now() {
    using namespace std::chrono;
    // Starting at 1 keeps 0 free as the "not started yet" mark some timers use.
    static const auto start = steady_clock::now() - milliseconds(1);
    return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now() - start).count());
}

void RealClock::Sleep(int ms) {
    if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace Zarvo

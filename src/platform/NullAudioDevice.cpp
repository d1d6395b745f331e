#include "platform/NullAudioDevice.h"

#include <algorithm>
#include <chrono>
#include <vector>

namespace Zarvo {

NullAudioDevice::~NullAudioDevice() {
    Stop();
}

bool NullAudioDevice::Start(RenderCallback render) {
    Stop();
    if (!render) return false;
    render_ = std::move(render);
    running_ = true;
    thread_ = std::thread([this] { Run(); });
    return true;
}

void NullAudioDevice::Stop() {
    running_ = false;
    if (thread_.joinable()) thread_.join();
}

void NullAudioDevice::Run() {
    using Clock = std::chrono::steady_clock;
    // At most a tenth of a second is rendered per step: a stall is not caught up in one burst.
    constexpr int kMaxFrames = kSampleRate / 10;
    std::vector<int16_t> scratch(static_cast<size_t>(kMaxFrames) * kChannels);
    auto last = Clock::now();
    double owed = 0.0;
    while (running_) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        const auto now = Clock::now();
        owed += std::chrono::duration<double>(now - last).count() * kSampleRate;
        last = now;
        const int frames = std::min(kMaxFrames, static_cast<int>(owed));
        if (frames <= 0) continue;
        owed = std::min(owed - frames, static_cast<double>(kMaxFrames));
        render_(scratch.data(), frames);
    }
}

}  // namespace Zarvo

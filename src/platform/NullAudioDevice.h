#pragma once
// An audio device without a sound card: a thread renders the mixer at the real rate and throws
// the samples away, so playing sounds end on time exactly as with a real output.
#include <atomic>
#include <thread>

#include "platform/AudioDevice.h"

namespace Zarvo {

class NullAudioDevice : public AudioDevice {
public:
    NullAudioDevice() = default;
    ~NullAudioDevice() override;
    NullAudioDevice(const NullAudioDevice&) = delete;
    NullAudioDevice& operator=(const NullAudioDevice&) = delete;

    bool Start(RenderCallback render) override;
    void Stop() override;
    const char* Name() const override { return "null"; }

private:
    void Run();

    RenderCallback render_;
    std::atomic<bool> running_{false};
    std::thread thread_;
};

}  // namespace Zarvo

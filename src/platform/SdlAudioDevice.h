#pragma once
// The audio output on SDL2: one playback device opened at 44100 Hz, stereo, signed 16-bit, with
// SDL converting to whatever the hardware wants. Works with every SDL audio driver, including the
// "dummy" driver used for headless runs. Leaves out: device choice, capture, hot-plugging.
#include <cstdint>

#include "platform/AudioDevice.h"

namespace Zarvo {

class SdlAudioDevice : public AudioDevice {
public:
    SdlAudioDevice() = default;
    ~SdlAudioDevice() override;
    SdlAudioDevice(const SdlAudioDevice&) = delete;
    SdlAudioDevice& operator=(const SdlAudioDevice&) = delete;

    // Initialises SDL's audio subsystem and opens the default output, paused. False when either
    // fails (no driver, no device); the object is then unusable and releases what it took.
    bool Open();
    bool Start(RenderCallback render) override;
    void Stop() override;
    const char* Name() const override { return name_; }

private:
    static void Callback(void* self, uint8_t* stream, int len);

    RenderCallback render_;
    uint32_t device_ = 0;
    bool subsystemStarted_ = false;
    char name_[64] = "sdl";
};

}  // namespace Zarvo

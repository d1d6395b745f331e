#include "platform/SdlAudioDevice.h"

#include <SDL.h>

#include <cstdio>
#include <cstring>

namespace Zarvo {

SdlAudioDevice::~SdlAudioDevice() {
    Stop();
    if (device_ != 0) SDL_CloseAudioDevice(device_);
    if (subsystemStarted_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool SdlAudioDevice::Open() {
    if (device_ != 0) return true;
    if (!subsystemStarted_) {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            std::fprintf(stderr, "audio: SDL audio unavailable (%s): the game runs without sound\n",
                         SDL_GetError());
            return false;
        }
        subsystemStarted_ = true;
    }
    SDL_AudioSpec want{};
    want.freq = kSampleRate;
    want.format = AUDIO_S16SYS;
    want.channels = kChannels;
    want.samples = 1024;
    want.callback = &SdlAudioDevice::Callback;
    want.userdata = this;
    SDL_AudioSpec have{};
    device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (device_ == 0) {
        std::fprintf(stderr,
                     "audio: cannot open an output device (%s): the game runs without sound\n",
                     SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        subsystemStarted_ = false;
        return false;
    }
    const char* driver = SDL_GetCurrentAudioDriver();
    std::snprintf(name_, sizeof(name_), "sdl:%s", driver ? driver : "?");
    return true;
}

bool SdlAudioDevice::Start(RenderCallback render) {
    if (device_ == 0 || !render) return false;
    SDL_LockAudioDevice(device_);
    render_ = std::move(render);
    SDL_UnlockAudioDevice(device_);
    SDL_PauseAudioDevice(device_, 0);
    return true;
}

void SdlAudioDevice::Stop() {
    if (device_ == 0) return;
    SDL_PauseAudioDevice(device_, 1);
    // Taking the device lock waits for a callback that is still running.
    SDL_LockAudioDevice(device_);
    render_ = nullptr;
    SDL_UnlockAudioDevice(device_);
}

void SdlAudioDevice::Callback(void* self, uint8_t* stream, int len) {
    auto* device = static_cast<SdlAudioDevice*>(self);
    const int frames = len / static_cast<int>(sizeof(int16_t) * kChannels);
    if (device->render_ && frames > 0) {
        device->render_(reinterpret_cast<int16_t*>(stream), frames);
    } else {
        std::memset(stream, 0, static_cast<size_t>(len));
    }
}

}  // namespace Zarvo

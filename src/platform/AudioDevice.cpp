#include "platform/AudioDevice.h"

#include "platform/NullAudioDevice.h"
#include "platform/SdlAudioDevice.h"

namespace Zarvo {

namespace {
AudioDevice::Factory& DefaultFactory() {
    static AudioDevice::Factory factory;
    return factory;
}
}  // namespace

void AudioDevice::SetDefaultFactory(Factory factory) {
    DefaultFactory() = std::move(factory);
}

std::unique_ptr<AudioDevice> AudioDevice::OpenDefault() {
    if (DefaultFactory()) return DefaultFactory()();
    auto sdl = std::make_unique<SdlAudioDevice>();
    if (sdl->Open()) return sdl;
    return std::make_unique<NullAudioDevice>();
}

}  // namespace Zarvo

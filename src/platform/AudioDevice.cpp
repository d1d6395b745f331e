#include "platform/AudioDevice.h"

#include "platform/NullAudioDevice.h"
#include "platform/SdlAudioDevice.h"

namespace Zarvo {

std::unique_ptr<AudioDevice> AudioDevice::OpenDefault() {
    auto sdl = std::make_unique<SdlAudioDevice>();
    if (sdl->Open()) return sdl;
    return std::make_unique<NullAudioDevice>();
}

}  // namespace Zarvo

#pragma once

#include "resources/BaseRes.h"
#include "resources/ResourceHost.h"

namespace Zarvo {

// A sound of the manifest: loaded into a numbered sound slot.
class SoundRes : public BaseRes {
public:
    explicit SoundRes(ResourceHost* soundHost) : BaseRes(ResType_Sound), host(soundHost) {}
    void DeleteResource() override {
        if (soundId != -1 && host != nullptr) host->ReleaseSound(soundId);
        soundId = -1;
    }

    ResourceHost* host;
    int soundId = -1;      // -1 until loaded
    double volume = -1.0;  // negative: leave the sound's default
    int pan = 0;
};

}  // namespace Zarvo

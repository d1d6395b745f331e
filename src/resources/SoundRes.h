#pragma once

#include "audio/SoundManager.h"
#include "resources/BaseRes.h"

namespace Zarvo {

// A sound of the manifest: loaded into a numbered sound slot.
class SoundRes : public BaseRes {
public:
    explicit SoundRes(SoundManager* manager) : BaseRes(ResType_Sound), soundManager(manager) {}
    void DeleteResource() override {
        if (soundId != -1 && soundManager != nullptr) soundManager->releaseSound(soundId);
        soundId = -1;
    }

    SoundManager* soundManager;  // where the sound is loaded
    int soundId = -1;            // -1 until loaded
    double volume = -1.0;        // negative: leave the sound's default
    int pan = 0;
};

}  // namespace Zarvo

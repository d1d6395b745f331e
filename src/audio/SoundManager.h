#pragma once
// Sound effects: 256 numbered sound slots played through short-lived instances (at most 32 at a
// time) that the manager owns.
#include <cstdint>
#include <string>

#include "audio/SoundInstance.h"

namespace Zarvo {

class SoundManager {
public:
    static constexpr int kMaxSounds = 256;
    static constexpr int kMaxInstances = 32;

    virtual ~SoundManager() = default;
    virtual bool isInitialized() = 0;
    // The id holding a sound loaded from `name`, loading it into the highest free id when none
    // does; -1 when no id is free or loading fails.
    virtual int loadSoundByName(const std::string& name) = 0;
    // Loads `name` (without extension) into slot `id`; false when the id is out of range or no
    // file of that name decodes.
    virtual bool loadSound(int id, const std::string& name) = 0;
    virtual void releaseSound(int id) = 0;
    // The effects volume, a factor on every instance.
    virtual void setVolume(double volume) = 0;
    virtual bool setBaseVolume(int id, double volume) = 0;
    virtual bool setBasePan(int id, int32_t pan) = 0;
    // A new instance of sound `id`, owned by the manager; null when the id is out of range or
    // empty or all instance slots are busy.
    virtual SoundInstance* getSoundInstance(int id) = 0;
    virtual void releaseSounds() = 0;
    virtual void releaseChannels() = 0;
    virtual double getMasterVolume() = 0;
    virtual void setMasterVolume(double volume) = 0;
    virtual void flush() = 0;
    virtual void setCooperativeWindow(void* window, bool windowed) = 0;
    virtual void stopAllSounds() = 0;
    virtual int getFreeSoundId() = 0;
    virtual int getNumSounds() = 0;
};

}  // namespace Zarvo

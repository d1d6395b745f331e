#pragma once
#include <cstdint>
#include <string>

namespace Zarvo {

class SoundInstance;

// Sound effects in 256 numbered slots, played through short-lived instances.
class SoundManager {
public:
    virtual ~SoundManager() = default;
    virtual bool isInitialized() = 0;
    virtual int loadSoundByName(const std::string& fileName) = 0;
    virtual bool loadSound(int id, const std::string& fileName) = 0;
    virtual void releaseSound(int id) = 0;
    virtual void setVolume(double volume) = 0;
    virtual bool setBaseVolume(int id, double volume) = 0;
    virtual bool setBasePan(int id, int32_t pan) = 0;
    virtual SoundInstance* getSoundInstance(int id) = 0;
    virtual void releaseSounds() = 0;
    virtual void releaseChannels() = 0;
    virtual double getMasterVolume() = 0;
    virtual void setMasterVolume(double volume) = 0;
    virtual void flush() = 0;
    virtual void setCooperativeWindow(void* window, bool windowed) = 0;
    virtual void stopAllSounds() = 0;
    virtual int getFreeSoundId() = 0;
    virtual int32_t getNumSounds() = 0;
};

}  // namespace Zarvo

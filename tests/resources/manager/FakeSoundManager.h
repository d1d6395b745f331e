#pragma once

#include <map>
#include <string>
#include <vector>

#include "audio/SoundManager.h"

namespace Zarvo {

// Records which file went into which slot, and the base volumes and pans set.
class FakeSoundManager : public SoundManager {
public:
    int slots = 256;
    std::map<int, std::string> sounds;
    std::map<int, double> volumes;
    std::map<int, int> pans;
    std::vector<int> released;

    bool isInitialized() override { return true; }
    int loadSoundByName(const std::string&) override { return -1; }
    bool loadSound(int id, const std::string& name) override {
        if (name.find("missing") != std::string::npos) return false;
        sounds[id] = name;
        return true;
    }
    void releaseSound(int id) override {
        sounds.erase(id);
        released.push_back(id);
    }
    void setVolume(double) override {}
    bool setBaseVolume(int id, double volume) override {
        volumes[id] = volume;
        return true;
    }
    bool setBasePan(int id, int32_t pan) override {
        pans[id] = pan;
        return true;
    }
    SoundInstance* getSoundInstance(int) override { return nullptr; }
    void releaseSounds() override { sounds.clear(); }
    void releaseChannels() override {}
    double getMasterVolume() override { return 1.0; }
    void setMasterVolume(double) override {}
    void flush() override {}
    void setCooperativeWindow(void*, bool) override {}
    void stopAllSounds() override {}
    int getFreeSoundId() override {
        for (int id = 0; id < slots; ++id) {
            if (!sounds.count(id)) return id;
        }
        return -1;
    }
    int getNumSounds() override { return static_cast<int>(sounds.size()); }
};

}  // namespace Zarvo

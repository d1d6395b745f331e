#pragma once
// The sound manager on the project's mixer. Sounds load, in this order, from the decoded-sound
// cache, name + ".wav", name + ".ogg" (then written to the cache) and name + ".au"; MP3 has no
// decoder here and is skipped. Without a mixer the manager stays usable: it is not initialised,
// loading fails and instances are silent placeholders.
#include <array>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "audio/SoundData.h"
#include "audio/SoundManager.h"

namespace Zarvo {

class Mixer;
class MixerSoundInstance;

class MixerSoundManager : public SoundManager {
public:
    // Milliseconds from a monotonic tick counter.
    using TickSource = std::function<int64_t()>;

    // `mixer` may be null (no audio). An empty `cacheFolder` turns the cache off. Without a tick
    // source the steady clock is used.
    MixerSoundManager(std::shared_ptr<Mixer> mixer, std::filesystem::path cacheFolder = {},
                      TickSource ticks = {});
    ~MixerSoundManager() override;
    MixerSoundManager(const MixerSoundManager&) = delete;
    MixerSoundManager& operator=(const MixerSoundManager&) = delete;

    // The per-user cache folder for decoded sounds: $XDG_CACHE_HOME (default ~/.cache) /
    // company / product / "cached". Empty when no absolute cache home is known.
    static std::filesystem::path DefaultCacheFolder(const std::string& company,
                                                    const std::string& product);

    bool isInitialized() override;
    int loadSoundByName(const std::string& name) override;
    bool loadSound(int id, const std::string& name) override;
    void releaseSound(int id) override;
    void setVolume(double volume) override;
    bool setBaseVolume(int id, double volume) override;
    bool setBasePan(int id, int32_t pan) override;
    SoundInstance* getSoundInstance(int id) override;
    void releaseSounds() override;
    void releaseChannels() override;
    double getMasterVolume() override;
    void setMasterVolume(double volume) override;
    void flush() override {}
    void setCooperativeWindow(void* window, bool windowed) override;
    void stopAllSounds() override;
    int getFreeSoundId() override;
    int getNumSounds() override;

    // The number of instances the manager holds, released or not.
    int CountInstances();
    // Decodes sound `name` the way loadSound does, without a slot. False when nothing decodes.
    bool DecodeSound(const std::string& name, SoundData& out);

private:
    struct Slot {
        std::shared_ptr<const SoundData> sound;
        std::string name;
        double baseVolume = 1.0;
        int32_t basePan = 0;
    };

    static bool ValidId(int id) { return id >= 0 && id < kMaxSounds; }
    void ReleaseSoundLocked(int id);

    std::shared_ptr<Mixer> mixer_;
    std::filesystem::path cacheFolder_;
    std::atomic<bool> cacheFailureTold_{false};  // an unwritable cache is said once
    TickSource ticks_;
    std::recursive_mutex mutex_;
    std::array<Slot, kMaxSounds> sounds_;
    std::array<std::unique_ptr<MixerSoundInstance>, kMaxInstances> instances_;
    std::atomic<double> volume_{1.0};
    int64_t lastSweep_ = 0;
};

}  // namespace Zarvo

#include "audio/MixerSoundManager.h"

#include <chrono>
#include <cstdio>
#include <vector>

#include "audio/AuReader.h"
#include "audio/AudioFile.h"
#include "audio/Mixer.h"
#include "audio/MixerSoundInstance.h"
#include "audio/OggDecoder.h"
#include "audio/SoundCache.h"
#include "audio/WavReader.h"
#include "platform/Paths.h"

namespace Zarvo {

namespace {
constexpr int64_t kSweepIntervalMs = 1000;

int64_t SteadyMilliseconds() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}
}  // namespace

MixerSoundManager::MixerSoundManager(std::shared_ptr<Mixer> mixer,
                                     std::filesystem::path cacheFolder, TickSource ticks)
    : mixer_(std::move(mixer)),
      cacheFolder_(std::move(cacheFolder)),
      ticks_(ticks ? std::move(ticks) : TickSource(&SteadyMilliseconds)) {
    lastSweep_ = ticks_();
}

MixerSoundManager::~MixerSoundManager() {
    releaseChannels();
    releaseSounds();
}

std::filesystem::path MixerSoundManager::DefaultCacheFolder(const std::string& company,
                                                            const std::string& product) {
    std::filesystem::path base = Paths::CacheHome();
    if (base.empty() || !base.is_absolute()) return {};
    if (!company.empty()) base /= company;
    if (!product.empty()) base /= product;
    return base / "cached";
}

bool MixerSoundManager::isInitialized() {
    return mixer_ != nullptr;
}

bool MixerSoundManager::DecodeSound(const std::string& name, SoundData& out) {
    std::vector<uint8_t> bytes;
    const std::string oggName = name + ".ogg";

    const std::filesystem::path cachePath = SoundCache::PathFor(cacheFolder_, name);
    if (!cachePath.empty()) {
        const auto result =
            SoundCache::Read(cachePath, oggName, AudioFile::LastWriteTime(oggName), out);
        if (result == SoundCache::Result::Loaded) return true;
        if (result == SoundCache::Result::Unusable) {
            std::error_code error;
            std::filesystem::remove(cachePath, error);
        }
    }
    if (AudioFile::ReadAll(name + ".wav", bytes) &&
        WavReader::Read(bytes.data(), bytes.size(), out)) {
        return true;
    }
    // MP3 would come next; there is no MP3 decoder, so that step is skipped.
    if (AudioFile::ReadAll(oggName, bytes) && OggDecoder::Decode(std::move(bytes), out)) {
        if (!cachePath.empty() &&
            !SoundCache::Write(cachePath, out, oggName, AudioFile::LastWriteTime(oggName)) &&
            !cacheFailureTold_.exchange(true)) {
            std::fprintf(stderr,
                         "Cannot write the sound cache in %s: sounds are decoded at every start\n",
                         cacheFolder_.string().c_str());
        }
        return true;
    }
    if (AudioFile::ReadAll(name + ".au", bytes) &&
        AuReader::Read(bytes.data(), bytes.size(), out)) {
        return true;
    }
    return false;
}

bool MixerSoundManager::loadSound(int id, const std::string& name) {
    if (!ValidId(id)) return false;
    {
        std::lock_guard<std::recursive_mutex> lock(mutex_);
        ReleaseSoundLocked(id);
        if (!mixer_) return false;
        sounds_[id].name = name;
    }
    // Decoding runs outside the lock so that playing sounds is never held up by a load.
    auto sound = std::make_shared<SoundData>();
    if (!DecodeSound(name, *sound)) return false;
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    sounds_[id].sound = std::move(sound);
    sounds_[id].name = name;
    return true;
}

int MixerSoundManager::loadSoundByName(const std::string& name) {
    int id = -1;
    {
        std::lock_guard<std::recursive_mutex> lock(mutex_);
        for (int i = 0; i < kMaxSounds; ++i) {
            if (sounds_[i].sound && sounds_[i].name == name) return i;
        }
        for (int i = kMaxSounds - 1; i >= 0; --i) {
            if (!sounds_[i].sound) {
                id = i;
                break;
            }
        }
    }
    if (id < 0 || !loadSound(id, name)) return -1;
    return id;
}

void MixerSoundManager::ReleaseSoundLocked(int id) {
    sounds_[id].sound.reset();
    sounds_[id].name.clear();
}

void MixerSoundManager::releaseSound(int id) {
    if (!ValidId(id)) return;
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    ReleaseSoundLocked(id);
}

void MixerSoundManager::setVolume(double volume) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    volume_ = volume;
    for (auto& instance : instances_) {
        if (instance) instance->ApplyVolume();
    }
}

bool MixerSoundManager::setBaseVolume(int id, double volume) {
    if (!ValidId(id)) return false;
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    sounds_[id].baseVolume = volume;
    return true;
}

bool MixerSoundManager::setBasePan(int id, int32_t pan) {
    if (!ValidId(id)) return false;
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    sounds_[id].basePan = pan;
    return true;
}

SoundInstance* MixerSoundManager::getSoundInstance(int id) {
    if (!ValidId(id)) return nullptr;
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    const int64_t now = ticks_();
    if (now - lastSweep_ > kSweepIntervalMs) {
        for (auto& instance : instances_) {
            if (instance && instance->isReleased()) instance.reset();
        }
        lastSweep_ = now;
    }
    std::unique_ptr<MixerSoundInstance>* free = nullptr;
    for (auto& instance : instances_) {
        if (!instance || instance->isReleased()) {
            free = &instance;
            break;
        }
    }
    if (free == nullptr) return nullptr;

    const Slot& slot = sounds_[id];
    int voice = 0;
    int baseFrequency = Mixer::kSampleRate;
    if (mixer_) {
        if (!slot.sound) return nullptr;
        voice = mixer_->CreateVoice(slot.sound);
        if (voice == 0) return nullptr;
        baseFrequency = slot.sound->sampleRate;
    }
    *free = std::make_unique<MixerSoundInstance>(mixer_.get(), voice, baseFrequency, &volume_);
    (*free)->setBasePan(slot.basePan);
    (*free)->setBaseVolume(slot.baseVolume);
    return free->get();
}

void MixerSoundManager::releaseSounds() {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    for (int id = 0; id < kMaxSounds; ++id) sounds_[id].sound.reset();
}

void MixerSoundManager::releaseChannels() {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    for (auto& instance : instances_) instance.reset();
}

double MixerSoundManager::getMasterVolume() {
    return Mixer::GetMasterGain();
}

void MixerSoundManager::setMasterVolume(double volume) {
    Mixer::SetMasterGain(volume);
}

void MixerSoundManager::setCooperativeWindow(void* /*window*/, bool /*windowed*/) {
    // The mixer's output does not depend on any window.
}

void MixerSoundManager::stopAllSounds() {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    for (auto& instance : instances_) {
        if (instance) instance->StopKeepingAutoRelease();
    }
}

int MixerSoundManager::getFreeSoundId() {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    for (int id = 0; id < kMaxSounds; ++id) {
        if (!sounds_[id].sound) return id;
    }
    return -1;
}

int MixerSoundManager::CountInstances() {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    int count = 0;
    for (const auto& instance : instances_) count += instance ? 1 : 0;
    return count;
}

int MixerSoundManager::getNumSounds() {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    int count = 0;
    for (const Slot& slot : sounds_) count += slot.sound ? 1 : 0;
    return count;
}

}  // namespace Zarvo

// Fuzzes the decoded-sound cache: the input is a cache file on disk, read back as the cache of a
// fixed source name and time (the ones the seeds were written with, so that well-formed inputs
// get all the way to a loaded sound).
#include <cstddef>
#include <cstdint>

#include "FuzzFile.h"

#include "audio/SoundCache.h"
#include "audio/SoundData.h"
#include "audio/SoundLimits.h"

namespace {
constexpr const char* kSourceName = "sounds/kick.ogg";
constexpr int64_t kSourceTime = 0x01DB5A3C12345678;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = WriteFuzzInput(data, size, ".wav");
    if (path.empty()) return 0;
    Zarvo::SoundData sound;
    const auto result = Zarvo::SoundCache::Read(path, kSourceName, kSourceTime, sound);
    if (result == Zarvo::SoundCache::Result::Loaded) {
        if (sound.channels < 1 || sound.channels > 2 || sound.samples.empty() ||
            sound.samples.size() > Zarvo::SoundLimits::kMaxSamples ||
            sound.samples.size() % static_cast<size_t>(sound.channels) != 0) {
            __builtin_trap();
        }
    } else if (!sound.samples.empty()) {
        __builtin_trap();  // a refused file leaves the sound untouched
    }
    return 0;
}

#pragma once
// The decoded-sound cache: sounds decoded from compressed files are kept as RIFF WAVE files under
// a cache folder, so the next run loads them without decoding. Layout, little-endian, in this
// order: "RIFF" (data length + 36) "WAVE"; "fmt " 16 with PCM tag 1, channels, rate, bytes per
// second, block align, bits; "dep " (name length + 10) with the source file's name (16-bit length,
// bytes) and its last-write time (8 bytes); "xor " 1 with one key byte; "data" with the sample
// bytes XOR-ed with the key.
#include <cstdint>
#include <filesystem>
#include <string>

#include "audio/SoundData.h"

namespace Zarvo {

class SoundCache {
public:
    enum class Result { Missing, Loaded, Unusable };

    // The cache file for sound `name` under `folder`; empty when the name is not a plain relative
    // path (absolute, or with ".." components that would leave the folder).
    static std::filesystem::path PathFor(const std::filesystem::path& folder,
                                         const std::string& name);

    // Loads `path` into `out` when it is a well-formed cache of `sourceName` whose recorded time
    // equals `sourceTime`. Missing when no such file exists; Unusable (the file is left in
    // place) when it is damaged or stale.
    static Result Read(const std::filesystem::path& path, const std::string& sourceName,
                       int64_t sourceTime, SoundData& out);

    // Writes the cache file for `sound` decoded from `sourceName`. The file appears whole or not
    // at all (written beside it, then renamed). False when it cannot be written.
    static bool Write(const std::filesystem::path& path, const SoundData& sound,
                      const std::string& sourceName, int64_t sourceTime);

    static constexpr uint8_t kKey = 0xA5;
};

}  // namespace Zarvo

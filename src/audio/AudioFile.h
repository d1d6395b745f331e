#pragma once
// How the audio code reaches its data files: whole-file reads of sounds and music, and the
// last-write time of a sound's source for the decoded-sound cache.
#include <cstdint>
#include <string>
#include <vector>

namespace Zarvo {

class AudioFile {
public:
    // Files larger than this are refused rather than read into memory.
    static constexpr size_t kMaxBytes = 256u << 20;

    // Reads the whole file `name` into `out`. False (and `out` empty) when it cannot be opened or
    // read or is larger than kMaxBytes.
    static bool ReadAll(const std::string& name, std::vector<uint8_t>& out);
    // The last-write time of the real file `name` as a platform file time; 0 when it cannot be
    // read.
    static int64_t LastWriteTime(const std::string& name);
};

}  // namespace Zarvo

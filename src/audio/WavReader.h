#pragma once
// Reads RIFF WAVE data: PCM, 8 or 16 bits, one or two channels. Also reads the two chunks of the
// decoded-sound cache: "dep " (the source file's name and last-write time) and "xor " (a key byte
// that every data byte is XOR-ed with).
#include <cstddef>
#include <cstdint>
#include <string>

#include "audio/SoundData.h"

namespace Zarvo {

class WavReader {
public:
    struct Dependency {
        bool present = false;
        std::string name;
        int64_t time = 0;
    };

    // Decodes `size` bytes into `out`. False, with `out` and `dependency` untouched, for anything
    // that is not complete, well-formed PCM WAVE data with at least one frame.
    static bool Read(const uint8_t* data, size_t size, SoundData& out,
                     Dependency* dependency = nullptr);
};

}  // namespace Zarvo

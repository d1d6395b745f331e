#pragma once
// Decoded PCM sound: signed 16-bit samples, interleaved, one or two channels.
#include <cstdint>
#include <vector>

namespace Zarvo {

struct SoundData {
    int channels = 0;
    int sampleRate = 0;
    std::vector<int16_t> samples;

    int64_t Frames() const {
        return channels > 0 ? static_cast<int64_t>(samples.size()) / channels : 0;
    }
};

}  // namespace Zarvo

#pragma once
// Reads Sun/NeXT ".au" sound data (a file beginning with ".snd"): 8-bit mu-law, 8-bit linear,
// 16-bit linear and 8-bit A-law encodings, one or two channels.
#include <cstddef>
#include <cstdint>

#include "audio/SoundData.h"

namespace Zarvo {

class AuReader {
public:
    // Decodes `size` bytes into `out`. False, with `out` untouched, for any other encoding and for
    // a header or data that is incomplete or empty.
    static bool Read(const uint8_t* data, size_t size, SoundData& out);
};

}  // namespace Zarvo

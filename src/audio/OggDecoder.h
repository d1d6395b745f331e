#pragma once
// Decodes a whole Ogg Vorbis file to 16-bit samples for a sound effect.
#include <cstdint>
#include <vector>

#include "audio/SoundData.h"

namespace Zarvo {

class OggDecoder {
public:
    // False, with `out` untouched, unless `bytes` hold a complete Vorbis stream (its pages run to
    // the end of the file, the last one marking the end of the stream) that decodes without
    // damage to at least one frame.
    static bool Decode(std::vector<uint8_t> bytes, SoundData& out);
    // True when the Ogg pages in `bytes` are complete and the last one ends the stream.
    static bool PagesComplete(const std::vector<uint8_t>& bytes);
};

}  // namespace Zarvo

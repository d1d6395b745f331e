// Fuzzes the Ogg Vorbis sound decoder and the music stream over the same bytes.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "audio/OggDecoder.h"
#include "audio/OggStreamSource.h"
#include "audio/SoundData.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> bytes(data, data + size);
    Zarvo::SoundData sound;
    if (Zarvo::OggDecoder::Decode(bytes, sound)) {
        if (sound.channels < 1 || sound.channels > 2 || sound.Frames() < 1) __builtin_trap();
    }
    if (auto stream = Zarvo::OggStreamSource::Open(std::move(bytes))) {
        std::vector<int16_t> block(1024 * 2);
        for (int i = 0; i < 64 && stream->Read(block.data(), 1024) > 0; ++i) {
        }
        stream->Seek(0);
        stream->Read(block.data(), 1024);
    }
    return 0;
}

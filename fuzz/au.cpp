// Fuzzes the ".au" reader.
#include <cstddef>
#include <cstdint>

#include "audio/AuReader.h"
#include "audio/SoundData.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Zarvo::SoundData sound;
    if (Zarvo::AuReader::Read(data, size, sound)) {
        if (sound.channels < 1 || sound.channels > 2 || sound.Frames() < 1) __builtin_trap();
    }
    return 0;
}

// Fuzzes the WAV reader, including the chunks of the decoded-sound cache.
#include <cstddef>
#include <cstdint>

#include "audio/SoundData.h"
#include "audio/WavReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Zarvo::SoundData sound;
    Zarvo::WavReader::Dependency dependency;
    if (Zarvo::WavReader::Read(data, size, sound, &dependency)) {
        // A decoded sound always holds whole frames of one or two channels.
        if (sound.channels < 1 || sound.channels > 2 || sound.Frames() < 1 ||
            sound.samples.size() % static_cast<size_t>(sound.channels) != 0) {
            __builtin_trap();
        }
    }
    return 0;
}

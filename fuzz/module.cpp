// Fuzzes the tracker-module music stream: the input is opened as a module, rendered for a bounded
// number of frames, sought by time and by order (both taken from the input's first bytes), and
// rendered again with looping on.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "audio/ModuleSource.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> bytes(data, data + size);
    auto source = Zarvo::ModuleSource::Open(bytes);
    if (!source) return 0;
    constexpr int kFrames = 1024;
    std::vector<int16_t> block(static_cast<size_t>(kFrames) * 2);
    for (int i = 0; i < 8; ++i) {
        const int got = source->Read(block.data(), kFrames);
        if (got < 0 || got > kFrames) __builtin_trap();
        if (got == 0) break;
    }
    const int64_t frame = size > 2 ? (data[1] << 8 | data[2]) * 64 : 0;
    source->Seek(frame);
    source->Read(block.data(), kFrames);
    source->SeekOrder(size > 0 ? static_cast<int8_t>(data[0]) : 0);
    source->SetLooping(true);
    for (int i = 0; i < 4 && source->Read(block.data(), kFrames) > 0; ++i) {
    }
    source->SetLooping(false);
    source->Seek(-1);
    source->Read(block.data(), kFrames);
    return 0;
}

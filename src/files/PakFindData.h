// What a directory search reports for one match, shaped like the Windows find data the game's
// code was written against.
#pragma once

#include <cstdint>
#include <string>

namespace Zarvo {

struct PakFindData {
    static constexpr uint32_t kAttributeDirectory = 0x10;
    static constexpr uint32_t kAttributeNormal = 0x80;

    uint32_t attributes = 0;
    uint64_t creationTime = 0;  // FILETIME: 100 ns ticks since 1601-01-01 UTC
    uint64_t lastAccessTime = 0;
    uint64_t lastWriteTime = 0;
    uint32_t fileSizeHigh = 0;
    uint32_t fileSizeLow = 0;
    std::string fileName;  // the name without its folder
};

}  // namespace Zarvo

// One file that an archive holds: where its (scrambled) bytes lie in the mapped archive.
#pragma once

#include <cstdint>
#include <string>

namespace Zarvo {

class PakCollection;

struct PakRecord {
    const PakCollection* collection = nullptr;
    std::string name;  // as stored in the archive's table
    uint64_t fileTime = 0;
    int64_t start = 0;  // absolute offset in the archive
    int32_t size = 0;
};

}  // namespace Zarvo

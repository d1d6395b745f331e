// An open file of the archive-aware file functions: an archive entry with a read position, or
// a real file.
#pragma once

#include <cstdio>

namespace Zarvo {

struct PakRecord;

struct PakFile {
    const PakRecord* record = nullptr;  // null for a real file
    int position = 0;
    std::FILE* file = nullptr;
};

}  // namespace Zarvo

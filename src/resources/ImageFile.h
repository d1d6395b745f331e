// Reads a whole file through the archive-aware file functions, for the image readers that
// parse from memory.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Zarvo {

class ImageFile {
public:
    // The file's bytes; false when it cannot be opened or read.
    static bool ReadAll(const std::string& name, std::vector<uint8_t>* bytes);
};

}  // namespace Zarvo

// Reads a whole file through the archive-aware file functions, for the image readers that
// parse from memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace Zarvo {

class ImageFile {
public:
    // Far above any file the readers accept (4096 x 4096 pixels of 32 bits are 64 MB), and
    // small enough that a file without end (a device, say) stops being read early.
    static constexpr size_t kMaxBytes = size_t{128} << 20;

    // The file's bytes; false (and `bytes` empty) when it cannot be opened or holds more than
    // kMaxBytes.
    static bool ReadAll(const std::string& name, std::vector<uint8_t>* bytes);
};

}  // namespace Zarvo

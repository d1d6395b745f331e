// Reads TGA files: only uncompressed true-colour images of 32 bits per pixel with 8 alpha bits
// and the top-left origin (descriptor 0x28); everything else yields no image.
#pragma once

#include <memory>
#include <string>

#include "resources/DecodedImage.h"

namespace Zarvo {

class TgaReader {
public:
    // Null on a missing file, an unsupported variant or a file shorter than its header says.
    static std::unique_ptr<DecodedImage> Read(const std::string& name);
    static std::unique_ptr<DecodedImage> Decode(const uint8_t* data, size_t size);
};

}  // namespace Zarvo

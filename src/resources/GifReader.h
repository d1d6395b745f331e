// Reads the first image of a GIF file (87a or 89a): global and local colour tables, the
// transparent index of a graphic control extension (it becomes transparent black), LZW data
// with codes up to 12 bits, and interlaced rows. The result has the image's own size.
#pragma once

#include <memory>
#include <string>

#include "resources/DecodedImage.h"

namespace Zarvo {

class GifReader {
public:
    // Null on a missing file, a wrong signature, no image before the trailer, a zero size,
    // LZW codes that name no table entry, or data that ends before every pixel is decoded.
    static std::unique_ptr<DecodedImage> Read(const std::string& name);
    static std::unique_ptr<DecodedImage> Decode(const uint8_t* data, size_t size);
};

}  // namespace Zarvo

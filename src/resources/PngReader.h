// Reads PNG files with libpng through the archive-aware file functions. Every variant (palette,
// grey, 16-bit, with or without transparency, interlaced) is converted to 8-bit RGBA.
#pragma once

#include <memory>
#include <string>

#include "resources/DecodedImage.h"

namespace Zarvo {

class PngReader {
public:
    // Null on a missing file, a damaged or truncated stream (a short read is the libpng error
    // "Read Error") or a size beyond DecodedImage::kMaxPixels.
    static std::unique_ptr<DecodedImage> Read(const std::string& name);
};

}  // namespace Zarvo

// Reads JPEG files with libjpeg(-turbo) through the archive-aware file functions. Grey images
// become grey opaque pixels, colour images opaque RGB.
#pragma once

#include <memory>
#include <string>

#include "resources/DecodedImage.h"

namespace Zarvo {

class JpegReader {
public:
    // Null on a missing file, any library error (the decode is abandoned) or a size beyond
    // DecodedImage::kMaxPixels.
    static std::unique_ptr<DecodedImage> Read(const std::string& name);
};

}  // namespace Zarvo

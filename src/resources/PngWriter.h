// Writes 32-bit pixels (0xAARRGGBB rows) as an 8-bit RGB PNG file: screenshots of the back
// buffer, whose alpha means nothing once the frame is composed.
#pragma once

#include <cstdint>
#include <string>

namespace Zarvo {

class PngWriter {
public:
    // False, with nothing left at `path`, when the file cannot be written or the size is empty.
    // `pitch` is the distance between rows in pixels.
    static bool WriteRgb(const std::string& path, const uint32_t* pixels, int width, int height,
                         int pitch);
};

}  // namespace Zarvo

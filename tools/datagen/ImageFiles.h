#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace datagen {

// Writers for the image formats the game's loader reads. Pixels are 0xAARRGGBB, rows from the top.
class ImageFiles {
public:
    static bool writePng(const std::string& path, int w, int h, const std::vector<uint32_t>& argb);
    // An 8-bit greyscale PNG whose grey level is each pixel's alpha (a companion alpha file).
    static bool writeAlphaPng(const std::string& path, int w, int h,
                              const std::vector<uint32_t>& argb);
    // Baseline JPEG of the colour channels (alpha is dropped).
    static bool writeJpeg(const std::string& path, int w, int h, const std::vector<uint32_t>& argb,
                          int quality);
    // GIF89a with a 256-entry palette; pixels with alpha below 128 take the transparent index 0.
    static bool writeGif(const std::string& path, int w, int h, const std::vector<uint32_t>& argb);
    // Uncompressed 32-bit TGA with top-left origin (descriptor 0x28).
    static bool writeTga(const std::string& path, int w, int h, const std::vector<uint32_t>& argb);

    static bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes);
};

}  // namespace datagen

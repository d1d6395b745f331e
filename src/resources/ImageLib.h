// Turns a file name into a decoded image. The decoder follows from the extension; a name
// without one tries ".tga", ".jpg", ".png", ".gif", ".j2k", ".jp2" in that order (the first
// that loads wins); any other extension yields no image. Optionally a companion alpha file
// ("_" + the file's name, or the name + "_") gives the image its alpha channel.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "resources/DecodedImage.h"

namespace Zarvo {

class MemoryImage;
class MemoryImageHost;

class ImageLib {
public:
    // The image, or null when no decoder produced one. With lookForAlpha, an alpha file of the
    // same size replaces the image's alpha by its blue channel (one of another size is
    // ignored); an alpha file without a main image becomes the image, in the alpha colour
    // with the blue channel as alpha.
    static std::unique_ptr<DecodedImage> GetImage(const std::string& fileName, bool lookForAlpha);

    // GetImage turned into a MemoryImage (its file path set to fileName) registered with the
    // default image host; null when no image loads or the pixels cannot be allocated.
    static std::unique_ptr<MemoryImage> LoadMemoryImage(const std::string& fileName,
                                                        bool lookForAlpha = true);
    // The same, registered with imageHost (none when null).
    static std::unique_ptr<MemoryImage> LoadMemoryImage(const std::string& fileName,
                                                        bool lookForAlpha,
                                                        MemoryImageHost* imageHost);

    // Replaces the alpha of count pixels by the blue channel of the matching pixels of an alpha
    // image; the colour channels stay as they are.
    static void SetAlphaFromBlue(uint32_t* pixels, const uint32_t* alphaPixels, size_t count);

    // The colour (0xRRGGBB) of images built from an alpha file alone; 0xFFFFFF by default.
    // Process-wide: the resource manager sets it around one load.
    static void SetAlphaColor(uint32_t color);
    static uint32_t GetAlphaColor();
};

}  // namespace Zarvo

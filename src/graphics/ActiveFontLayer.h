#pragma once

#include <memory>

#include "graphics/MemoryImage.h"
#include "graphics/Rect.h"

namespace Zarvo {

class FontLayer;

// A layer that applies to a font's current point size, scale and tags, with the image and
// character rectangles to draw from (a scaled copy of the layer image when the font is scaled).
class ActiveFontLayer {
public:
    FontLayer* baseFontLayer = nullptr;
    Image* image = nullptr;                    // what is drawn from
    bool ownsImage = false;                    // `image` is the scaled copy below
    std::unique_ptr<MemoryImage> scaledImage;  // owned scaled copy, if any
    Rect scaledCharImageRects[256];
};

}  // namespace Zarvo

#pragma once

#include <cstdint>

#include "graphics/Rect.h"

namespace Zarvo {

// What one layer of an image font knows about one character code.
class CharData {
public:
    Rect imageRect;  // where the glyph lies in the layer image
    int offsetX = 0;
    int offsetY = 0;
    // Extra advance when this character is followed by the indexing character.
    int8_t kerningOffsets[256] = {};
    int width = 0;  // advance
    int order = 0;  // drawing order, added to the layer's base order
};

}  // namespace Zarvo

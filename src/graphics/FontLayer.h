#pragma once

#include <string>
#include <vector>

#include "graphics/CharData.h"
#include "graphics/Color.h"
#include "graphics/SharedImageRef.h"

namespace Zarvo {

class FontData;

// One layer of an image font (a shadow, an outline, the face...): an image with the rectangle,
// width, offset, kerning and order of every character, and the conditions under which the layer
// is drawn.
class FontLayer {
public:
    explicit FontLayer(FontData* owner) : fontData(owner) {}

    FontData* fontData;
    std::vector<std::string> requiredTags;  // upper-cased; all must be set on the font
    std::vector<std::string> excludedTags;  // upper-cased; none may be set on the font
    CharData charData[256];
    Color colorMult{255, 255, 255, 255};
    Color colorAdd{0, 0, 0, 0};
    SharedImageRef image;
    int drawMode = -1;  // -1: the drawing context's mode
    int offsetX = 0;
    int offsetY = 0;
    int spacing = 0;
    int minPointSize = -1;
    int maxPointSize = -1;  // -1: no upper bound
    int pointSize = 0;      // the point size at which the image is drawn unscaled; 0: never scaled
    int ascent = 0;
    int ascentPadding = 0;
    int height = 0;
    int defaultHeight = 0;  // used when height is 0
    int lineSpacingOffset = 0;
    int baseOrder = 0;
};

}  // namespace Zarvo

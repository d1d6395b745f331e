#pragma once

#include "graphics/Color.h"
#include "graphics/Rect.h"

namespace Zarvo {

class Font;
class Image;

// The copyable part of a drawing context.
class GraphicsState {
public:
    Image* destImage = nullptr;  // not owned
    float transX = 0.0f;
    float transY = 0.0f;
    float scaleX = 1.0f;  // image drawing is scaled when either scale is not exactly 1
    float scaleY = 1.0f;
    float scaleOrigX = 0.0f;  // fixed point of the scaling
    float scaleOrigY = 0.0f;
    Rect clipRect;
    Color color;           // fill, line and text colour; the image tint when colorizing
    Font* font = nullptr;  // not owned
    int drawMode = 0;      // 0 normal (alpha blend), 1 additive
    bool colorizeImages = false;
    bool fastStretch = false;
    bool writeColoredString = true;  // enables the ^RRGGBB^ codes of WriteString
    bool linearBlend = false;
    bool is3D = false;  // the destination is drawn by a hardware back-end
};

}  // namespace Zarvo

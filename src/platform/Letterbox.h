#pragma once
#include "platform/PlatformRect.h"

namespace Zarvo {

// Where a fixed-size screen image appears in a window of any size: scaled by one factor for
// both directions, as large as fits, centred, with black bars on the two sides that are left
// over. Both the display (in output pixels) and the window (in window coordinates, where the
// mouse is reported) place the picture with this one rule, so they always agree.
class Letterbox {
public:
    // The picture's rectangle inside an outer area of outerWidth x outerHeight. Sizes are
    // rounded to the nearest pixel, offsets truncated. An empty outer area or screen gives an
    // empty rectangle at (0, 0).
    static PlatformRect Fit(int outerWidth, int outerHeight, int screenWidth, int screenHeight);
    // Whether the picture is a whole multiple of the screen in both directions (1x, 2x, ...),
    // where every screen pixel becomes a block of equal window pixels and nearest-pixel scaling
    // stays sharp.
    static bool IsWholeMultiple(const PlatformRect& picture, int screenWidth, int screenHeight);
};

}  // namespace Zarvo

#include "platform/Letterbox.h"

#include <cstdint>

namespace Zarvo {

namespace {
// a * b / c rounded to the nearest integer, for non-negative values.
int ScaleRounded(int64_t a, int64_t b, int64_t c) {
    return static_cast<int>((2 * a * b + c) / (2 * c));
}
}  // namespace

PlatformRect Letterbox::Fit(int outerWidth, int outerHeight, int screenWidth, int screenHeight) {
    if (outerWidth <= 0 || outerHeight <= 0 || screenWidth <= 0 || screenHeight <= 0) {
        return PlatformRect{};
    }
    PlatformRect r;
    // Compare the aspect ratios without division: which side limits the scale.
    if (int64_t{outerWidth} * screenHeight <= int64_t{outerHeight} * screenWidth) {
        r.width = outerWidth;
        r.height = ScaleRounded(outerWidth, screenHeight, screenWidth);
    } else {
        r.height = outerHeight;
        r.width = ScaleRounded(outerHeight, screenWidth, screenHeight);
    }
    if (r.width > outerWidth) r.width = outerWidth;
    if (r.height > outerHeight) r.height = outerHeight;
    r.x = (outerWidth - r.width) / 2;
    r.y = (outerHeight - r.height) / 2;
    return r;
}

bool Letterbox::IsWholeMultiple(const PlatformRect& picture, int screenWidth, int screenHeight) {
    if (screenWidth <= 0 || screenHeight <= 0 || picture.width <= 0 || picture.height <= 0) {
        return false;
    }
    return picture.width % screenWidth == 0 && picture.height % screenHeight == 0 &&
           picture.width / screenWidth == picture.height / screenHeight;
}

}  // namespace Zarvo

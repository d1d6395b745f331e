#pragma once
#include <cstdint>
#include <vector>

namespace Zarvo {

// The picture of a software cursor: width x height pixels in 0xAARRGGBB (not premultiplied),
// rows top to bottom, and the hot spot, the pixel that sits at the pointer position.
struct CursorImage {
    int width = 0;
    int height = 0;
    int hotX = 0;
    int hotY = 0;
    std::vector<uint32_t> pixels;
};

}  // namespace Zarvo

#pragma once

namespace Zarvo {

// A rectangle in desktop or window pixels as the platform layer reports it.
struct PlatformRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

}  // namespace Zarvo

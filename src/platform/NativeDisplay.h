#pragma once
#include <cstdint>

namespace Zarvo {

// The screen's pixel format: bit count, channel masks, channel bit counts and shifts. All 0 until
// the display has been initialised.
struct NativeDisplay {
    uint32_t rgbBitCount = 0;
    uint32_t redMask = 0, greenMask = 0, blueMask = 0;
    uint32_t redBitCount = 0, greenBitCount = 0, blueBitCount = 0;
    uint32_t redShift = 0, greenShift = 0, blueShift = 0;

    // Describes the 32-bit 0x00RRGGBB layout every back-end of this platform uses.
    void SetArgb8888() {
        rgbBitCount = 32;
        redMask = 0x00FF0000;
        greenMask = 0x0000FF00;
        blueMask = 0x000000FF;
        redBitCount = greenBitCount = blueBitCount = 8;
        redShift = 16;
        greenShift = 8;
        blueShift = 0;
    }
};

}  // namespace Zarvo

#pragma once

#include <cstdint>

namespace Zarvo {

// The screen's pixel format, filled in by the display back-end; images use it to pack their
// premultiplied copies. All fields stay 0 until the display is initialized.
class NativeDisplay {
public:
    int rgbBitCount = 0;
    uint32_t redMask = 0;
    uint32_t greenMask = 0;
    uint32_t blueMask = 0;
    int redBits = 0;
    int greenBits = 0;
    int blueBits = 0;
    int redShift = 0;
    int greenShift = 0;
    int blueShift = 0;

    virtual ~NativeDisplay() = default;

    // Describes a 32-bit 0x00RRGGBB screen format.
    void SetFormat32() {
        rgbBitCount = 32;
        redMask = 0x00FF0000;
        greenMask = 0x0000FF00;
        blueMask = 0x000000FF;
        redBits = greenBits = blueBits = 8;
        redShift = 16;
        greenShift = 8;
        blueShift = 0;
    }
};

}  // namespace Zarvo

#pragma once

#include <cstdint>

namespace Zarvo {

// A colour with four int channels 0..255. The default is opaque black; opaque white means
// "no tint" wherever a colour multiplies an image.
class Color {
public:
    int red = 0;
    int green = 0;
    int blue = 0;
    int alpha = 255;

    static const Color Black;
    static const Color White;

    constexpr Color() = default;
    constexpr Color(int r, int g, int b, int a = 255) : red(r), green(g), blue(b), alpha(a) {}

    // From the packed form 0xAARRGGBB.
    static constexpr Color FromInt(uint32_t argb) {
        return Color(int((argb >> 16) & 0xFF), int((argb >> 8) & 0xFF), int(argb & 0xFF),
                     int(argb >> 24));
    }

    // The packed form 0xAARRGGBB.
    constexpr uint32_t ToInt() const {
        return (uint32_t(alpha & 0xFF) << 24) | (uint32_t(red & 0xFF) << 16) |
               (uint32_t(green & 0xFF) << 8) | uint32_t(blue & 0xFF);
    }

    int GetRed() const { return red; }
    int GetGreen() const { return green; }
    int GetBlue() const { return blue; }
    int GetAlpha() const { return alpha; }

    constexpr bool operator==(const Color& other) const = default;
};

inline constexpr Color Color::Black{0, 0, 0, 255};
inline constexpr Color Color::White{255, 255, 255, 255};

}  // namespace Zarvo

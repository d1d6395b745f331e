#pragma once
#include <cstdint>

namespace datagen {

// A colour with channels from 0 to 1, not premultiplied.
struct Rgba {
    double r = 0, g = 0, b = 0, a = 1;

    static constexpr Rgba hex(uint32_t rgb, double alpha = 1.0) {
        return {((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0,
                alpha};
    }
    constexpr Rgba withAlpha(double alpha) const { return {r, g, b, alpha}; }
    // Mixes towards another colour; t = 0 keeps this one.
    constexpr Rgba mix(const Rgba& o, double t) const {
        return {r + (o.r - r) * t, g + (o.g - g) * t, b + (o.b - b) * t, a + (o.a - a) * t};
    }
    constexpr Rgba lighter(double t) const { return mix({1, 1, 1, a}, t); }
    constexpr Rgba darker(double t) const { return mix({0, 0, 0, a}, t); }
};

// The house colours: an evening stadium with navy and teal panels and gold accents.
namespace palette {
inline constexpr Rgba navy = Rgba::hex(0x13244a);
inline constexpr Rgba navyDeep = Rgba::hex(0x0a1530);
inline constexpr Rgba navyLight = Rgba::hex(0x22407a);
inline constexpr Rgba teal = Rgba::hex(0x1f8a8f);
inline constexpr Rgba tealLight = Rgba::hex(0x37b9b5);
inline constexpr Rgba tealDark = Rgba::hex(0x125a66);
inline constexpr Rgba gold = Rgba::hex(0xe9b949);
inline constexpr Rgba goldLight = Rgba::hex(0xffe08a);
inline constexpr Rgba goldDark = Rgba::hex(0xa8741c);
inline constexpr Rgba cream = Rgba::hex(0xf7f0dc);
inline constexpr Rgba creamDark = Rgba::hex(0xe6d9b8);
inline constexpr Rgba ink = Rgba::hex(0x1a1a1a);
inline constexpr Rgba pitch = Rgba::hex(0x2e8a3a);
inline constexpr Rgba pitchDark = Rgba::hex(0x237030);
inline constexpr Rgba chalk = Rgba::hex(0xf4f8ef);
inline constexpr Rgba red = Rgba::hex(0xd8262e);
inline constexpr Rgba yellow = Rgba::hex(0xf7d51d);
inline constexpr Rgba green = Rgba::hex(0x27a844);
inline constexpr Rgba white = Rgba::hex(0xffffff);
inline constexpr Rgba black = Rgba::hex(0x000000);
}  // namespace palette

}  // namespace datagen

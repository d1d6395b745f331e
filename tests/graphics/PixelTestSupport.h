#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "graphics/Font.h"
#include "graphics/Graphics.h"
#include "graphics/MemoryImage.h"

namespace pixeltest {

// The look-up tables of a tint, as the drawing code builds them.
struct TintTables {
    uint8_t effAlpha[256];
    uint32_t r[256], g[256], b[256];
    explicit TintTables(const Zarvo::Color& tint) {
        for (int v = 0; v < 256; ++v) {
            effAlpha[v] = uint8_t((tint.alpha * v) / 255);
            r[v] = uint32_t((v * tint.red) / 256) << 16;
            g[v] = uint32_t((v * tint.green) / 256) << 8;
            b[v] = uint32_t((v * tint.blue) / 256);
        }
    }
};

// An image of w x h pixels, all `fill`, belonging to no application.
inline std::unique_ptr<Zarvo::MemoryImage> MakeImage(int w, int h, uint32_t fill = 0) {
    auto image = std::make_unique<Zarvo::MemoryImage>(nullptr);
    std::vector<uint32_t> pixels(size_t(w) * size_t(h), fill);
    image->SetBits(pixels.data(), w, h);
    return image;
}

inline std::unique_ptr<Zarvo::MemoryImage> MakeImage(int w, int h,
                                                     std::initializer_list<uint32_t> pixels) {
    auto image = std::make_unique<Zarvo::MemoryImage>(nullptr);
    std::vector<uint32_t> v(pixels);
    v.resize(size_t(w) * size_t(h), 0);
    image->SetBits(v.data(), w, h);
    return image;
}

inline uint32_t PixelAt(Zarvo::MemoryImage& image, int x, int y) {
    return image.GetBits()[size_t(y) * size_t(image.GetPitch()) + size_t(x)];
}

// A font whose every character is 10 pixels wide; it records what it is asked to draw.
class RecordingFont : public Zarvo::Font {
public:
    struct Draw {
        int x, y;
        std::string text;
        Zarvo::Color color;
    };
    std::vector<Draw>* draws;

    explicit RecordingFont(std::vector<Draw>* out) : draws(out) {
        ascent = 8;
        height = 10;
        lineSpacingOffset = 2;
    }
    int StringWidth(const std::string& text) override { return 10 * int(text.size()); }
    void DrawString(Zarvo::Graphics*, int x, int y, const std::string& text,
                    const Zarvo::Color& color, const Zarvo::Rect&) override {
        draws->push_back(Draw{x, y, text, color});
    }
    std::unique_ptr<Zarvo::Font> Duplicate() const override {
        return std::make_unique<RecordingFont>(draws);
    }
};

}  // namespace pixeltest

#include "graphics/SysFont.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "graphics/Graphics.h"
#include "graphics/MemoryImage.h"

namespace Zarvo {
namespace {

// Keeps a copy of the pixels of every image blitted onto it.
class CapturingImage : public MemoryImage {
public:
    struct Capture {
        int x, y, width, height;
        std::vector<uint32_t> pixels;
    };
    std::vector<Capture> captures;

    CapturingImage() : MemoryImage(nullptr) { Create(400, 100); }

    void Blt(Image* image, int x, int y, const Rect& src, const Color&, int) override {
        auto* memory = static_cast<MemoryImage*>(image);
        const uint32_t* bits = memory->GetBits();
        Capture c{x, y, src.width, src.height, {}};
        for (int row = 0; row < src.height; ++row) {
            for (int col = 0; col < src.width; ++col) {
                c.pixels.push_back(bits[(src.y + row) * memory->GetWidth() + src.x + col]);
            }
        }
        captures.push_back(std::move(c));
    }
};

// The bounding box of the pixels with any alpha, in target coordinates.
Rect Coverage(const CapturingImage::Capture& c) {
    int left = INT32_MAX, top = INT32_MAX, right = -1, bottom = -1;
    for (int row = 0; row < c.height; ++row) {
        for (int col = 0; col < c.width; ++col) {
            if ((c.pixels[row * c.width + col] >> 24) == 0) continue;
            left = std::min(left, col);
            right = std::max(right, col);
            top = std::min(top, row);
            bottom = std::max(bottom, row);
        }
    }
    return Rect(c.x + left, c.y + top, right - left + 1, bottom - top + 1);
}

TEST(SysFontTest, MissingFaceFallsBackToAnInstalledOne) {
    SysFont font("Tahoma", 12);
    EXPECT_EQ(font.GetFamily(), "DejaVu Sans");
    EXPECT_GT(font.GetAscent(), 0);
    EXPECT_GT(font.GetHeight(), font.GetAscent());
    EXPECT_EQ(font.GetAscentPadding(), 0);
    EXPECT_EQ(font.StringWidth(""), 0);
    EXPECT_GT(font.CharWidth('W'), font.CharWidth('i'));
    EXPECT_EQ(font.StringWidth("AB&C"), font.CharWidth('A') + font.CharWidth('B') +
                                            font.CharWidth('&') + font.CharWidth('C'));
    SysFont bigger("No Such Face At All", 24);
    EXPECT_GT(bigger.GetHeight(), font.GetHeight());
    SysFont bold("Tahoma", 12, true);
    EXPECT_GT(bold.StringWidth("Hello World"), font.StringWidth("Hello World"));
}

TEST(SysFontTest, AntiAliasedTextKeepsItsTrueColour) {
    SysFont font("Arial Unicode MS", 14);
    CapturingImage target;
    Graphics g(&target);
    const Color color(200, 40, 90);
    font.DrawString(&g, 10, 50, "Kelvane wo", color, g.GetClipRect());
    ASSERT_EQ(target.captures.size(), 1u);
    const auto& c = target.captures[0];
    EXPECT_EQ(c.x, 10);
    EXPECT_EQ(c.y, 50 - font.GetAscent());
    EXPECT_EQ(c.width, font.StringWidth("Kelvane wo"));
    EXPECT_EQ(c.height, font.GetHeight());
    int partial = 0;
    int opaque = 0;
    for (uint32_t p : c.pixels) {
        const uint32_t a = p >> 24;
        if (a == 0) continue;
        EXPECT_EQ(p & 0xFFFFFF, color.ToInt() & 0xFFFFFF);
        if (a == 255)
            ++opaque;
        else
            ++partial;
    }
    EXPECT_GT(partial, 0);
    EXPECT_GT(opaque, 0);
}

TEST(SysFontTest, ShadowAddsOnePixelRightAndDownAndIsNotCopied) {
    SysFont font("Tahoma", 12);
    CapturingImage target;
    Graphics g(&target);
    font.DrawString(&g, 5, 40, "Shadow", Color::White, g.GetClipRect());
    font.drawShadow = true;
    font.DrawString(&g, 5, 40, "Shadow", Color::White, g.GetClipRect());
    ASSERT_EQ(target.captures.size(), 2u);
    const Rect plain = Coverage(target.captures[0]);
    const Rect shadowed = Coverage(target.captures[1]);
    EXPECT_EQ(shadowed, Rect(plain.x, plain.y, plain.width + 1, plain.height + 1));

    std::unique_ptr<Font> copy = font.Duplicate();
    auto* sysCopy = dynamic_cast<SysFont*>(copy.get());
    ASSERT_NE(sysCopy, nullptr);
    EXPECT_FALSE(sysCopy->drawShadow);
    EXPECT_EQ(sysCopy->GetAscent(), font.GetAscent());
    EXPECT_EQ(sysCopy->GetHeight(), font.GetHeight());
}

TEST(SysFontTest, MeasuringContextDrawsNothing) {
    SysFont font("Tahoma", 12);
    Graphics g(nullptr);
    font.DrawString(&g, 0, 10, "x", Color::White, g.GetClipRect());  // must not crash
    SUCCEED();
}

}  // namespace
}  // namespace Zarvo

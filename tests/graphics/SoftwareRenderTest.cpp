// Pixel results of the software drawing operations, against values worked out by hand from
// the compositing rules.
#include <gtest/gtest.h>

#include "PixelTestSupport.h"
#include "graphics/Graphics.h"
#include "graphics/MemoryImage.h"
#include "graphics/PixelKernels.h"

using namespace Zarvo;
using pixeltest::MakeImage;
using pixeltest::PixelAt;

namespace {

struct FillCase {
    const char* what;
    uint32_t dst;
    Color color;
    uint32_t expected;
};

}  // namespace

TEST(SoftwareRenderTest, FillComposition) {
    const FillCase cases[] = {
        // oa = 128, w = 255: channel = (fill x 255 + old) / 256.
        {"translucent onto transparent", 0x00102030, Color(200, 100, 50, 128), 0x80C76331},
        // oa = 255, w = 64.
        {"translucent onto opaque", 0xFF204060, Color(255, 0, 128, 64), 0xFF573068},
        // oa = 128 + 127 x 100 / 255 = 177, w = 25500 / 177 = 144.
        {"translucent onto translucent", 0x80FF0000, Color(0, 0, 255, 100), 0xB16F008F},
        {"alpha 0 onto alpha 0 leaves the pixel", 0x00123456, Color(9, 9, 9, 0), 0x00123456},
        {"alpha 0 onto opaque leaves the pixel", 0xFF123456, Color(9, 9, 9, 0), 0xFF123456},
        {"opaque replaces", 0x40123456, Color(1, 2, 3, 255), 0xFF010203},
    };
    for (const FillCase& c : cases) {
        for (int mode : {0, 1}) {  // the draw mode does not change a fill
            auto image = MakeImage(2, 1, c.dst);
            image->FillRect(Rect(0, 0, 1, 1), c.color, mode);
            EXPECT_EQ(PixelAt(*image, 0, 0), c.expected) << c.what << " mode " << mode;
            EXPECT_EQ(PixelAt(*image, 1, 0), c.dst) << c.what << ": outside the rectangle";
        }
    }
}

TEST(SoftwareRenderTest, NormalBlitOntoOpaqueDestinationUsesRuns) {
    auto dst = MakeImage(4, 1, 0xFF646464);
    dst->SetImageMode(false, false);
    auto src = MakeImage(4, 1, {0xFFFF0000, 0x00FFFFFF, 0x80FF8040, 0x64030303});
    dst->Blt(src.get(), 0, 0, Rect(0, 0, 4, 1), Color::White, 0);
    EXPECT_EQ(PixelAt(*dst, 0, 0), 0xFFFF0000u);  // opaque: copied
    EXPECT_EQ(PixelAt(*dst, 1, 0), 0xFF646464u);  // transparent: skipped
    // a = 128: red (100 x 128 + 255 x 128) / 256 = 177, green 114, blue 50 + 32 = 82.
    EXPECT_EQ(PixelAt(*dst, 2, 0), 0xFFB17252u);
    // a = 100 over 100: red and green (100 x 156 + 3 x 100) / 256 = 62; blue truncates its
    // two terms apart: 15600 / 256 + 300 / 256 = 60 + 1 = 61.
    EXPECT_EQ(PixelAt(*dst, 3, 0), 0xFF3E3E3Du);
    EXPECT_TRUE(src->drawn);
}

TEST(SoftwareRenderTest, NormalBlitWhiteAndTinted) {
    struct Case {
        const char* what;
        uint32_t dst, src;
        Color color;
        uint32_t expected;
    };
    const Case cases[] = {
        // White onto transparent: oa = 128, w = 255.
        {"white onto transparent", 0x00000000, 0x80FF8040, Color::White, 0x80FE7F3F},
        {"white, transparent source skipped", 0x12345678, 0x00FFFFFF, Color::White, 0x12345678},
        // m = 128; tinted source 100, 99, 12; oa = 255, w = 128.
        {"tinted onto opaque", 0xFF000000, 0xFFC86432, Color(128, 255, 64, 128), 0xFF323106},
        // m = 128; oa = 128, w = 255.
        {"tinted onto transparent", 0x00000000, 0xFFC86432, Color(128, 255, 64, 128), 0x8063620B},
        // m = 255 x 1 / 255 = 1 ... and 0 when the colour alpha is small.
        {"tint making alpha 0 skips", 0xFF010203, 0x01FFFFFF, Color(255, 0, 0, 128), 0xFF010203},
        // Grey tint (one multiplier for all channels): 200 x 128 / 256 = 100 etc.
        {"grey tint", 0xFF000000, 0xFFC86432, Color(128, 128, 128, 255), 0xFF633118},
    };
    for (const Case& c : cases) {
        auto dst = MakeImage(1, 1, c.dst);
        auto src = MakeImage(1, 1, c.src);
        dst->Blt(src.get(), 0, 0, Rect(0, 0, 1, 1), c.color, 0);
        EXPECT_EQ(PixelAt(*dst, 0, 0), c.expected) << c.what;
    }
}

TEST(SoftwareRenderTest, AdditiveBlit) {
    struct Case {
        const char* what;
        uint32_t dst;
        std::vector<uint32_t> src;  // first pixel is drawn; the others set the alpha flag
        Color color;
        uint32_t expected;
    };
    const Case cases[] = {
        {"white on white saturates, alpha kept",
         0x80FFFFFF,
         {0xFFFFFFFF},
         Color::White,
         0x80FFFFFF},
        {"source without alpha adds", 0x40050607, {0xFF102030}, Color::White, 0x40152637},
        {"source with alpha scales by a / 256",
         0xFF0A0A0A,
         {0x80C86432, 0xFF000000},
         Color::White,
         0xFF6E3C23},
        // k = 255, 128, 0: (k x 128) / 256 = 127, 64, 0.
        {"tinted", 0xFF000000, {0xFF808080}, Color(255, 128, 0, 255), 0xFF7F4000},
        // tint then alpha: ((255 x 200) >> 8) x 128 >> 8 = 99.
        {"tinted with alpha",
         0xFF000000,
         {0x80C8C8C8, 0xFF000000},
         Color(255, 0, 0, 255),
         0xFF630000},
        {"transparent pixel adds nothing", 0xFF010101, {0x00FFFFFF}, Color::White, 0xFF010101},
    };
    for (const Case& c : cases) {
        auto dst = MakeImage(1, 1, c.dst);
        std::vector<uint32_t> pixels = c.src;
        auto src = std::make_unique<MemoryImage>(nullptr);
        src->SetBits(pixels.data(), int(pixels.size()), 1);
        dst->Blt(src.get(), 0, 0, Rect(0, 0, 1, 1), c.color, 1);
        EXPECT_EQ(PixelAt(*dst, 0, 0), c.expected) << c.what;
    }
}

TEST(SoftwareRenderTest, PalettizedSourceDrawsLikeItsPixels) {
    auto plain = MakeImage(3, 1, {0xFFFF0000, 0x00000000, 0x80FF8040});
    auto palettized = MakeImage(3, 1, {0xFFFF0000, 0x00000000, 0x80FF8040});
    ASSERT_TRUE(palettized->Palletize());
    for (int mode : {0, 1}) {
        for (const Color& color : {Color::White, Color(10, 200, 30, 90)}) {
            auto a = MakeImage(3, 1, 0xFF336699);
            auto b = MakeImage(3, 1, 0xFF336699);
            a->Blt(plain.get(), 0, 0, Rect(0, 0, 3, 1), color, mode);
            b->Blt(palettized.get(), 0, 0, Rect(0, 0, 3, 1), color, mode);
            for (int x = 0; x < 3; ++x) EXPECT_EQ(PixelAt(*a, x, 0), PixelAt(*b, x, 0));
        }
    }
    EXPECT_TRUE(palettized->colorTable != nullptr);  // drawing from it kept the palette form
}

TEST(SoftwareRenderTest, FastStretchIsNearestPixelAndRefusesATint) {
    auto src = MakeImage(2, 1, {0xFFFF0000, 0xFF0000FF});
    auto dst = MakeImage(4, 1, 0xFF000000);
    const Rect all(0, 0, 4, 1);
    dst->StretchBlt(src.get(), all, Rect(0, 0, 2, 1), all, Color(255, 255, 255, 254), 0, true);
    for (int x = 0; x < 4; ++x) EXPECT_EQ(PixelAt(*dst, x, 0), 0xFF000000u) << "tint drew";

    dst->StretchBlt(src.get(), all, Rect(0, 0, 2, 1), all, Color::White, 0, true);
    // Columns 0, 0.5, 1, 1.5 -> A A B B; w = 255 gives 255 x 255 / 256 = 254.
    EXPECT_EQ(PixelAt(*dst, 0, 0), 0xFFFE0000u);
    EXPECT_EQ(PixelAt(*dst, 1, 0), 0xFFFE0000u);
    EXPECT_EQ(PixelAt(*dst, 2, 0), 0xFF0000FEu);
    EXPECT_EQ(PixelAt(*dst, 3, 0), 0xFF0000FEu);
}

// Nearest-pixel stretching worked out pixel by pixel: column trunc(x' + i x w' / dw), row
// likewise, composited as a white normal blit (alpha 0 skipped).
TEST(SoftwareRenderTest, FastStretchMatchesThePixelRuleAtItsOwnWidthAndOthers) {
    struct Case {
        const char* what;
        Rect dest, src, clip;
    };
    const Case cases[] = {
        {"own size", Rect(3, 2, 37, 9), Rect(0, 0, 37, 9), Rect(0, 0, 64, 16)},
        {"own width, rows stretched", Rect(1, 0, 37, 14), Rect(2, 1, 37, 6), Rect(0, 0, 64, 16)},
        {"own width, clipped", Rect(-5, 1, 37, 12), Rect(0, 0, 37, 9), Rect(2, 3, 20, 7)},
        {"narrowed", Rect(0, 0, 20, 9), Rect(0, 0, 37, 9), Rect(0, 0, 64, 16)},
        {"widened", Rect(4, 4, 57, 11), Rect(5, 2, 29, 7), Rect(0, 0, 64, 16)},
    };
    uint32_t seed = 99;
    auto next = [&] { return seed = seed * 1664525u + 1013904223u; };
    std::vector<uint32_t> srcPixels(40 * 10);
    for (uint32_t& p : srcPixels) {
        const uint32_t r = next();
        const uint32_t a = (r >> 29) == 0 ? 0 : (r >> 29) == 1 ? 255 : (r >> 8) & 0xFF;
        p = (a << 24) | (next() >> 8);
    }
    auto src = std::make_unique<MemoryImage>(nullptr);
    src->SetBits(srcPixels.data(), 40, 10);
    const PixelKernels::BlendTable& blend = PixelKernels::GetBlendTable();
    for (bool opaque : {true, false}) {
        std::vector<uint32_t> dstPixels(64 * 16);
        for (uint32_t& p : dstPixels)
            p = (opaque ? 0xFF000000u : next() & 0xFF000000u) | next() >> 8;
        for (const Case& c : cases) {
            auto dst = std::make_unique<MemoryImage>(nullptr);
            dst->SetBits(dstPixels.data(), 64, 16);
            dst->StretchBlt(src.get(), c.dest, c.src, c.clip, Color::White, 0, true);

            std::vector<uint32_t> expected = dstPixels;
            const Rect area = c.dest.Intersection(c.clip).Intersection(Rect(0, 0, 64, 16));
            const double rx = double(c.src.width) / c.dest.width;
            const double ry = double(c.src.height) / c.dest.height;
            const double sx = c.src.x + (area.x - c.dest.x) * rx;
            const double sy = c.src.y + (area.y - c.dest.y) * ry;
            const double sw = c.src.width + (area.width - c.dest.width) * rx;
            const double sh = c.src.height + (area.height - c.dest.height) * ry;
            for (int j = 0; j < area.height; ++j) {
                for (int i = 0; i < area.width; ++i) {
                    const uint32_t sp = srcPixels[size_t(int(sy + j * sh / area.height)) * 40 +
                                                  size_t(int(sx + i * sw / area.width))];
                    uint32_t& dp = expected[size_t(area.y + j) * 64 + size_t(area.x + i)];
                    if ((sp >> 24) == 0) continue;
                    const uint32_t entry = blend.entries[(sp >> 24) * 256 + (dp >> 24)];
                    dp = PixelKernels::Composite(sp, dp, entry & 0xFF, entry >> 8);
                }
            }
            for (int y = 0; y < 16; ++y) {
                for (int x = 0; x < 64; ++x) {
                    ASSERT_EQ(PixelAt(*dst, x, y), expected[size_t(y) * 64 + size_t(x)])
                        << c.what << (opaque ? ", opaque" : ", translucent") << " destination at "
                        << x << "," << y;
                }
            }
        }
    }
}

TEST(SoftwareRenderTest, FilteredStretchIgnoresTintAndDrawMode) {
    struct Case {
        const char* what;
        std::vector<uint32_t> src;
        int destWidth;
        std::vector<uint32_t> expected;
    };
    const Case cases[] = {
        // 1:1: sums p x 257 x 256 / 65536 = p; then c x 255 / 256 onto black.
        {"same size", {0xFFC86432}, 1, {0xFFC76331}},
        // 2:1: both columns weigh trunc(0.5 x 257) = 128: red (12800 + 25600) x 256 >> 16 = 150.
        {"halved", {0xFF640000, 0xFFC80000}, 1, {0xFF950000}},
        // 2 -> 3: samples at 0, 0.5, 1: 100, (128 x 100 + 129 x 200) / 256 = 150, 200.
        {"widened", {0xFF640000, 0xFFC80000}, 3, {0xFF630000, 0xFF950000, 0xFFC70000}},
    };
    for (const Case& c : cases) {
        for (int mode : {0, 1}) {
            auto src = std::make_unique<MemoryImage>(nullptr);
            src->SetBits(c.src.data(), int(c.src.size()), 1);
            auto dst = MakeImage(c.destWidth, 1, 0x00000000);
            const Rect all(0, 0, c.destWidth, 1);
            dst->StretchBlt(src.get(), all, Rect(0, 0, int(c.src.size()), 1), all,
                            Color(255, 0, 0, 128), mode, false);
            for (int x = 0; x < c.destWidth; ++x) {
                EXPECT_EQ(PixelAt(*dst, x, 0), c.expected[size_t(x)]) << c.what << " x " << x;
            }
        }
    }
}

TEST(SoftwareRenderTest, FilteredWideningOfUniformImageKeepsItsColour) {
    auto src = MakeImage(7, 5, 0xFF80FF10);
    for (const Rect& dest : {Rect(0, 0, 20, 9), Rect(0, 0, 13, 11), Rect(0, 0, 7, 5)}) {
        auto dst = MakeImage(dest.width, dest.height, 0xFF000000);
        dst->StretchBlt(src.get(), dest, Rect(0, 0, 7, 5), dest, Color::White, 0, false);
        // Interior pixels carry full weight: 255 stays 255, then c x 255 / 256.
        EXPECT_EQ(PixelAt(*dst, dest.width / 2, dest.height / 2), 0xFF7FFE0F)
            << dest.width << "x" << dest.height;
    }
}

TEST(SoftwareRenderTest, StretchIsClippedAndSourceCutInProportion) {
    auto src = MakeImage(2, 1, {0xFFFF0000, 0xFF0000FF});
    auto dst = MakeImage(4, 1, 0xFF000000);
    // Only the right half of the 4-pixel destination is inside the clip: it shows pixel B.
    dst->StretchBlt(src.get(), Rect(0, 0, 4, 1), Rect(0, 0, 2, 1), Rect(2, 0, 2, 1), Color::White,
                    0, true);
    EXPECT_EQ(PixelAt(*dst, 0, 0), 0xFF000000u);
    EXPECT_EQ(PixelAt(*dst, 1, 0), 0xFF000000u);
    EXPECT_EQ(PixelAt(*dst, 2, 0), 0xFF0000FEu);
    EXPECT_EQ(PixelAt(*dst, 3, 0), 0xFF0000FEu);
}

TEST(SoftwareRenderTest, Lines) {
    {
        auto img = MakeImage(4, 4, 0xFF000000);
        img->DrawLine(0, 0, 3, 3, Color(255, 0, 100), 0);
        // Opaque colour packs as (c x 255 + 127) / 256: 255 -> 254.
        for (int i = 0; i < 4; ++i) EXPECT_EQ(PixelAt(*img, i, i), 0xFFFE0064u) << i;
        EXPECT_EQ(PixelAt(*img, 1, 0), 0xFF000000u);
    }
    {
        auto img = MakeImage(3, 3, 0xFFC8C8C8);
        img->DrawLine(0, 0, 2, 2, Color(255, 255, 255, 128), 0);
        // p = 128, packed 127; dst (200 x 128 + 127) / 256 = 100: 227.
        EXPECT_EQ(PixelAt(*img, 1, 1), 0xFFE3E3E3u);
    }
    {
        auto img = MakeImage(4, 1, 0x00000000);
        img->DrawLine(3, 0, 1, 0, Color(255, 255, 255, 255), 1);  // horizontal: a fill
        EXPECT_EQ(PixelAt(*img, 0, 0), 0u);
        for (int x = 1; x < 4; ++x) EXPECT_EQ(PixelAt(*img, x, 0), 0xFFFFFFFFu);
    }
    {
        auto img = MakeImage(3, 3, 0x80F00000);
        img->DrawLine(0, 2, 2, 0, Color(255, 0, 0, 255), 1);  // additive: saturating
        EXPECT_EQ(PixelAt(*img, 1, 1), 0x80FF0000u);
        EXPECT_EQ(PixelAt(*img, 2, 0), 0x80FF0000u);
        EXPECT_EQ(PixelAt(*img, 0, 0), 0x80F00000u);
    }
}

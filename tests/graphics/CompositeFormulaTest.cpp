// Long rows of varied pixels through every fill and blit case, compared with the compositing
// rules evaluated channel by channel in the plainest way. Rows are long and odd-sized so that
// every grouping of pixels inside the drawing code is exercised.
#include <gtest/gtest.h>

#include <vector>

#include "PixelTestSupport.h"
#include "graphics/MemoryImage.h"

using namespace Zarvo;

namespace {

int Ch(uint32_t p, int shift) {
    return int((p >> shift) & 0xFF);
}
uint32_t Pack(int a, int r, int g, int b) {
    return (uint32_t(a) << 24) | (uint32_t(r) << 16) | (uint32_t(g) << 8) | uint32_t(b);
}

// The translucent fill / composite rule with source alpha sa and source channels.
uint32_t RuleComposite(int sa, int sr, int sg, int sb, uint32_t dst) {
    const int da = Ch(dst, 24);
    const int oa = da + (255 - da) * sa / 255;
    if (oa == 0) return dst;
    const int w = sa * 255 / oa;
    auto mix = [&](int s, int d) { return (s * w + d * (256 - w)) / 256; };
    return Pack(oa, mix(sr, Ch(dst, 16)), mix(sg, Ch(dst, 8)), mix(sb, Ch(dst, 0)));
}

uint32_t RuleFill(const Color& c, uint32_t dst) {
    if (c.alpha == 255) return c.ToInt();
    return RuleComposite(c.alpha, c.red, c.green, c.blue, dst);
}

uint32_t RuleOpaqueDestination(uint32_t src, uint32_t dst) {
    const int a = Ch(src, 24);
    if (a == 255) return src;
    if (a == 0) return dst;
    auto joint = [&](int shift) { return (Ch(dst, shift) * (256 - a) + Ch(src, shift) * a) / 256; };
    const int b = Ch(dst, 0) * (256 - a) / 256 + Ch(src, 0) * a / 256;
    return Pack(255, joint(16), joint(8), b);
}

uint32_t RuleWhite(uint32_t src, uint32_t dst) {
    if (Ch(src, 24) == 0) return dst;
    return RuleComposite(Ch(src, 24), Ch(src, 16), Ch(src, 8), Ch(src, 0), dst);
}

uint32_t RuleTinted(uint32_t src, const Color& c, uint32_t dst) {
    const int m = c.alpha * Ch(src, 24) / 255;
    if (m == 0) return dst;
    return RuleComposite(m, Ch(src, 16) * c.red / 256, Ch(src, 8) * c.green / 256,
                         Ch(src, 0) * c.blue / 256, dst);
}

uint32_t RuleAdditive(uint32_t src, const Color& c, bool srcHasAlpha, uint32_t dst) {
    const int a = Ch(src, 24);
    if (a == 0) return dst;
    const bool white = c == Color::White;
    auto add = [&](int shift, int colorChannel) {
        int s = Ch(src, shift);
        if (!white) s = (c.alpha * colorChannel / 255) * s / 256;
        if (srcHasAlpha) s = s * a / 256;
        return std::min(255, Ch(dst, shift) + s);
    };
    return Pack(Ch(dst, 24), add(16, c.red), add(8, c.green), add(0, c.blue));
}

uint32_t gSeed = 99;
uint32_t Random() {
    gSeed = gSeed * 1103515245u + 12345u;
    return gSeed >> 4;
}

// Random pixels with alphas drawn from `alphas` (cycling through runs of random length); -1
// stands for any alpha, -2 for any translucent one (1 to 254).
std::vector<uint32_t> RandomRow(int n, std::vector<int> alphas) {
    std::vector<uint32_t> row;
    while (int(row.size()) < n) {
        const int a = alphas[Random() % alphas.size()];
        const int run = 1 + int(Random() % 9);
        for (int k = 0; k < run && int(row.size()) < n; ++k) {
            const int alpha = a >= 0 ? a : a == -1 ? int(Random() % 256) : 1 + int(Random() % 254);
            row.push_back((uint32_t(alpha) << 24) | (Random() & 0xFFFFFF));
        }
    }
    return row;
}

constexpr int kRow = 301;

}  // namespace

TEST(CompositeFormulaTest, Fills) {
    for (const Color& c : {Color(200, 100, 50, 128), Color(1, 2, 3, 1), Color(255, 255, 255, 254),
                           Color(9, 8, 7, 255), Color(90, 80, 70, 0)}) {
        const std::vector<uint32_t> dst = RandomRow(kRow, {255, 255, 0, -1});
        MemoryImage image(nullptr);
        image.SetBits(dst.data(), kRow, 1);
        image.FillRect(Rect(0, 0, kRow, 1), c, 0);
        for (int i = 0; i < kRow; ++i) {
            ASSERT_EQ(image.GetBits()[i], RuleFill(c, dst[size_t(i)]))
                << "pixel " << i << " colour alpha " << c.alpha;
        }
    }
}

TEST(CompositeFormulaTest, NormalBlits) {
    const Color tints[] = {Color::White, Color(128, 255, 64, 128), Color(200, 200, 200, 255),
                           Color(0, 0, 0, 255), Color(255, 255, 255, 3)};
    // Rows of every kind of pixel, and rows translucent from end to end.
    const std::vector<int> sourceKinds[] = {{255, 0, -1}, {-2}};
    for (const std::vector<int>& srcAlphas : sourceKinds) {
        for (bool opaqueDestination : {true, false}) {
            for (const Color& tint : tints) {
                const std::vector<uint32_t> src = RandomRow(kRow, srcAlphas);
                const std::vector<uint32_t> dst =
                    opaqueDestination ? RandomRow(kRow, {255}) : RandomRow(kRow, {255, 255, 0, -1});
                MemoryImage source(nullptr);
                source.SetBits(src.data(), kRow, 1);
                MemoryImage image(nullptr);
                image.SetBits(dst.data(), kRow, 1);
                image.Blt(&source, 0, 0, Rect(0, 0, kRow, 1), tint, 0);
                for (int i = 0; i < kRow; ++i) {
                    const uint32_t s = src[size_t(i)], d = dst[size_t(i)];
                    uint32_t expected;
                    if (tint != Color::White) {
                        expected = RuleTinted(s, tint, d);
                    } else if (opaqueDestination) {
                        expected = RuleOpaqueDestination(s, d);
                    } else {
                        expected = RuleWhite(s, d);
                    }
                    ASSERT_EQ(image.GetBits()[i], expected)
                        << "pixel " << i << " opaque " << opaqueDestination << " tint alpha "
                        << tint.alpha << " source alphas " << srcAlphas.size();
                }
            }
        }
    }
}

TEST(CompositeFormulaTest, AdditiveBlits) {
    for (bool srcHasAlpha : {false, true}) {
        for (const Color& tint : {Color::White, Color(255, 128, 0, 255), Color(90, 200, 10, 77)}) {
            const std::vector<uint32_t> src =
                srcHasAlpha ? RandomRow(kRow, {255, 0, -1}) : RandomRow(kRow, {255, 0});
            const std::vector<uint32_t> dst = RandomRow(kRow, {255, -1});
            MemoryImage source(nullptr);
            source.SetBits(src.data(), kRow, 1);
            ASSERT_EQ(source.hasAlpha, srcHasAlpha);
            MemoryImage image(nullptr);
            image.SetBits(dst.data(), kRow, 1);
            image.Blt(&source, 0, 0, Rect(0, 0, kRow, 1), tint, 1);
            for (int i = 0; i < kRow; ++i) {
                ASSERT_EQ(image.GetBits()[i],
                          RuleAdditive(src[size_t(i)], tint, srcHasAlpha, dst[size_t(i)]))
                    << "pixel " << i << " alpha source " << srcHasAlpha;
            }
        }
    }
}

TEST(CompositeFormulaTest, FilteredStretchAtOneToOne) {
    // At 1:1 every channel comes out of the two passes unchanged (p x 257 x 256 / 65536 = p),
    // and is then blended by its own alpha: c x a / 256 + dst x (256 - a) / 256, alpha
    // da + (255 - da) x a / 255; a = 0 leaves the pixel.
    const int w = 45, h = 3;
    const std::vector<uint32_t> src = RandomRow(w * h, {255, 0, -1});
    const std::vector<uint32_t> dst = RandomRow(w * h, {255, 0, -1});
    MemoryImage source(nullptr);
    source.SetBits(src.data(), w, h);
    MemoryImage image(nullptr);
    image.SetBits(dst.data(), w, h);
    const Rect all(0, 0, w, h);
    image.StretchBlt(&source, all, all, all, Color(1, 2, 3, 4), 1, false);
    for (int i = 0; i < w * h; ++i) {
        const uint32_t s = src[size_t(i)], d = dst[size_t(i)];
        const int a = Ch(s, 24);
        uint32_t expected = d;
        if (a != 0) {
            auto mix = [&](int shift) {
                return Ch(s, shift) * a / 256 + Ch(d, shift) * (256 - a) / 256;
            };
            expected = Pack(Ch(d, 24) + (255 - Ch(d, 24)) * a / 255, mix(16), mix(8), mix(0));
        }
        ASSERT_EQ(image.GetBits()[i], expected) << "pixel " << i;
    }
}

// Every vector kernel at every instruction set this processor has, against the scalar formulas:
// random pixels with runs of alpha 0, 255 and in between, random tints, odd widths, unaligned
// rows and clipped drawing. The results must be bit for bit the same.
#include "graphics/PixelKernels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "PixelTestSupport.h"
#include "graphics/Graphics.h"
#include "graphics/MemoryImage.h"

using namespace Zarvo;
using namespace Zarvo::PixelKernels;
using pixeltest::TintTables;

namespace {

struct Random {
    uint32_t state;
    uint32_t Next() {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) ^ (state << 12);
    }
    int Below(int n) { return int(Next() % uint32_t(n)); }
};

enum class Alphas { Mixed, Opaque, Translucent };

// Pixels in runs of 1 to 40: transparent (with or without colour), opaque, translucent, or
// alpha per pixel anywhere in 0..255.
std::vector<uint32_t> MakePixels(Random& rng, size_t count, Alphas alphas) {
    std::vector<uint32_t> pixels(count);
    size_t i = 0;
    while (i < count) {
        const size_t run = std::min(count - i, size_t(1 + rng.Below(40)));
        const int kind = alphas == Alphas::Opaque        ? 1
                         : alphas == Alphas::Translucent ? 2
                                                         : rng.Below(5);
        for (size_t k = 0; k < run; ++k, ++i) {
            uint32_t a = 0;
            switch (kind) {
                case 0:
                    a = 0;
                    break;
                case 1:
                    a = 255;
                    break;
                case 2:
                    a = 1 + uint32_t(rng.Below(254));
                    break;
                case 3:
                    a = uint32_t(rng.Below(256));
                    break;
                default:
                    a = rng.Below(3) == 0 ? 0 : 255;
                    break;
            }
            pixels[i] = (a << 24) | (rng.Next() & 0x00FFFFFF);
        }
    }
    return pixels;
}

std::vector<SimdLevel> Levels() {
    std::vector<SimdLevel> levels;
    for (int l = int(SimdLevel::Sse2); l <= int(SupportedSimdLevel()); ++l) {
        levels.push_back(SimdLevel(l));
    }
    return levels;
}

// Runs each test at every level in turn and puts the supported level back afterwards.
class PixelKernelsTest : public ::testing::Test {
protected:
    void TearDown() override { SetSimdLevel(SupportedSimdLevel()); }
    Random rng{20261210};
};

TEST_F(PixelKernelsTest, LevelSeamClampsToWhatTheProcessorSupports) {
    EXPECT_EQ(SetSimdLevel(SimdLevel::Scalar), SimdLevel::Scalar);
    EXPECT_EQ(GetSimdLevel(), SimdLevel::Scalar);
    EXPECT_EQ(SetSimdLevel(SimdLevel::Avx512), SupportedSimdLevel());
    EXPECT_EQ(GetSimdLevel(), SupportedSimdLevel());
#if defined(__x86_64__)
    EXPECT_GE(SupportedSimdLevel(), SimdLevel::Sse2);
#endif
}

// One row kernel: given the destination and source rows, draw with the dispatched kernel (or
// with the reference when `reference` is set).
using RowOp = std::function<void(uint32_t* d, const uint32_t* s, int count, bool reference)>;

struct RowCase {
    const char* name;
    Alphas destination;
    RowOp op;
    Alphas source = Alphas::Mixed;
};

TEST_F(PixelKernelsTest, RowKernelsMatchTheReferenceAtEveryLevel) {
    const uint16_t* blend = GetBlendTable().entries;
    const uint8_t* sat = MemoryImage::GetSaturationTable();
    // Fixed tints with extreme channels and random ones.
    std::vector<Color> tints = {Color(200, 37, 255, 180), Color(255, 255, 255, 254),
                                Color(0, 0, 0, 255), Color(255, 1, 128, 1)};
    for (int k = 0; k < 4; ++k) {
        tints.emplace_back(rng.Below(256), rng.Below(256), rng.Below(256), rng.Below(256));
    }
    for (const Color& tint : tints) {
        const TintTables tables(tint);
        const uint8_t* effAlpha = tables.effAlpha;
        const uint32_t *tintR = tables.r, *tintG = tables.g, *tintB = tables.b;
        // The additive contributions, untinted (k = 256) and tinted.
        auto additive = [&](int kR, int kG, int kB, bool srcAlpha) -> RowOp {
            auto tables = std::make_shared<std::vector<uint32_t>>(768);
            for (int v = 0; v < 256; ++v) {
                (*tables)[v] = kR == 256 ? uint32_t(v) : uint32_t((kR * v) >> 8);
                (*tables)[256 + v] = kG == 256 ? uint32_t(v) : uint32_t((kG * v) >> 8);
                (*tables)[512 + v] = kB == 256 ? uint32_t(v) : uint32_t((kB * v) >> 8);
            }
            return [=](uint32_t* d, const uint32_t* s, int n, bool ref) {
                const uint32_t* t = tables->data();
                (ref ? Reference::AddRow : AddRow)(d, s, n, kR, kG, kB, srcAlpha, t, t + 256,
                                                   t + 512, sat);
            };
        };
        const RowCase cases[] = {
            {"opaque fill", Alphas::Mixed,
             [](uint32_t* d, const uint32_t*, int n, bool ref) {
                 (ref ? Reference::FillRowOpaque : FillRowOpaque)(d, n, 0xFF123456u);
             }},
            {"translucent fill onto opaque", Alphas::Opaque,
             [&](uint32_t* d, const uint32_t*, int n, bool ref) {
                 (ref ? Reference::FillRowBlend : FillRowBlend)(d, n, 0x64C81E0Au,
                                                                blend + 0x64 * 256);
             }},
            {"translucent fill onto any", Alphas::Mixed,
             [&](uint32_t* d, const uint32_t*, int n, bool ref) {
                 (ref ? Reference::FillRowBlend : FillRowBlend)(d, n, 0x01FFFFFFu, blend + 256);
             }},
            {"blend onto opaque", Alphas::Opaque,
             [](uint32_t* d, const uint32_t* s, int n, bool ref) {
                 (ref ? Reference::BlendRowOntoOpaque : BlendRowOntoOpaque)(d, s, n);
             }},
            {"composite onto opaque", Alphas::Opaque,
             [](uint32_t* d, const uint32_t* s, int n, bool ref) {
                 (ref ? Reference::CompositeRowOntoOpaque : CompositeRowOntoOpaque)(d, s, n);
             }},
            {"composite onto opaque, any destination alpha", Alphas::Mixed,
             [](uint32_t* d, const uint32_t* s, int n, bool ref) {
                 (ref ? Reference::CompositeRowOntoOpaque : CompositeRowOntoOpaque)(d, s, n);
             }},
            {"composite onto opaque", Alphas::Opaque,
             [&](uint32_t* d, const uint32_t* s, int n, bool ref) {
                 (ref ? Reference::CompositeRow : CompositeRow)(d, s, n, blend);
             }},
            {"opaque composite onto opaque", Alphas::Opaque,
             [&](uint32_t* d, const uint32_t* s, int n, bool ref) {
                 (ref ? Reference::CompositeRow : CompositeRow)(d, s, n, blend);
             },
             Alphas::Opaque},
            {"composite onto any", Alphas::Mixed,
             [&](uint32_t* d, const uint32_t* s, int n, bool ref) {
                 (ref ? Reference::CompositeRow : CompositeRow)(d, s, n, blend);
             }},
            {"tint onto opaque", Alphas::Opaque,
             [&](uint32_t* d, const uint32_t* s, int n, bool ref) {
                 (ref ? Reference::TintRow : TintRow)(d, s, n, tint, effAlpha, tintR, tintG, tintB,
                                                      blend);
             }},
            {"tint onto any", Alphas::Mixed,
             [&](uint32_t* d, const uint32_t* s, int n, bool ref) {
                 (ref ? Reference::TintRow : TintRow)(d, s, n, tint, effAlpha, tintR, tintG, tintB,
                                                      blend);
             }},
            {"composite over an opaque colour", Alphas::Mixed,
             [&](uint32_t* d, const uint32_t* s, int n, bool ref) {
                 (ref ? Reference::CompositeRowOverColor : CompositeRowOverColor)(
                     d, s, n, 0xFF10E080u, blend);
             }},
            {"opaque composite over an opaque colour", Alphas::Mixed,
             [&](uint32_t* d, const uint32_t* s, int n, bool ref) {
                 (ref ? Reference::CompositeRowOverColor : CompositeRowOverColor)(
                     d, s, n, 0xFF000000u | (tint.ToInt() & 0x00FFFFFF), blend);
             },
             Alphas::Opaque},
            {"composite over a translucent colour", Alphas::Mixed,
             [&](uint32_t* d, const uint32_t* s, int n, bool ref) {
                 (ref ? Reference::CompositeRowOverColor : CompositeRowOverColor)(
                     d, s, n, 0x7F10E080u, blend);
             }},
            {"additive", Alphas::Mixed, additive(256, 256, 256, false)},
            {"additive by source alpha", Alphas::Mixed, additive(256, 256, 256, true)},
            {"additive tinted", Alphas::Mixed,
             additive(tint.alpha * tint.red / 255, tint.alpha * tint.green / 255,
                      tint.alpha * tint.blue / 255, false)},
            {"additive tinted by source alpha", Alphas::Mixed,
             additive(tint.alpha * tint.red / 255, tint.alpha * tint.green / 255,
                      tint.alpha * tint.blue / 255, true)},
        };
        const int widths[] = {0, 1, 3, 4, 7, 8, 15, 16, 17, 31, 33, 63, 64, 65, 100, 647};
        for (const RowCase& c : cases) {
            for (int width : widths) {
                for (int offset : {0, 1, 3}) {  // rows starting off any vector boundary
                    const std::vector<uint32_t> src =
                        MakePixels(rng, size_t(width + offset), c.source);
                    const std::vector<uint32_t> dst =
                        MakePixels(rng, size_t(width + offset + 1), c.destination);
                    std::vector<uint32_t> expected = dst;
                    c.op(expected.data() + offset, src.data() + offset, width, true);
                    for (SimdLevel level : Levels()) {
                        SetSimdLevel(level);
                        std::vector<uint32_t> actual = dst;
                        c.op(actual.data() + offset, src.data() + offset, width, false);
                        ASSERT_EQ(actual, expected)
                            << c.name << ", width " << width << ", offset " << offset << ", tint ("
                            << tint.red << ", " << tint.green << ", " << tint.blue << ", "
                            << tint.alpha << "), " << SimdLevelName(level);
                    }
                }
            }
        }
    }
}

// The rectangle kernels, on 32-bit and palettized sources with their own pitches, against the
// reference rows.
TEST_F(PixelKernelsTest, RectKernelsMatchTheReferenceAtEveryLevel) {
    const uint16_t* blend = GetBlendTable().entries;
    const Color tints[] = {Color(0, 0, 0, 255), Color(255, 255, 255, 150), Color(90, 255, 13, 201)};
    std::vector<uint32_t> table = MakePixels(rng, 256, Alphas::Mixed);
    table[0] = 0x00FFFFFF;
    for (int width : {1, 5, 16, 17, 24, 40, 63, 64, 100}) {
        for (int height : {1, 3, 40}) {
            const int srcPitch = width + 7;
            const int dPitch = width + 3;
            const std::vector<uint32_t> pixels =
                MakePixels(rng, size_t(srcPitch) * size_t(height), Alphas::Mixed);
            std::vector<uint8_t> indices(size_t(srcPitch) * size_t(height));
            for (uint8_t& index : indices) index = uint8_t(rng.Below(4) == 0 ? 0 : rng.Below(256));
            for (bool indexed : {false, true}) {
                SourceRect rect;
                if (indexed) {
                    rect.indices = indices.data() + 1;
                    rect.table = table.data();
                } else {
                    rect.pixels = pixels.data() + 1;
                }
                rect.pitch = srcPitch;
                for (Alphas destination : {Alphas::Opaque, Alphas::Mixed}) {
                    const std::vector<uint32_t> dst =
                        MakePixels(rng, size_t(dPitch) * size_t(height) + 2, destination);
                    for (int tintIndex = -1; tintIndex < 3; ++tintIndex) {
                        // -1: the untinted composite onto opaque pixels (opaque targets only).
                        if (tintIndex < 0 && destination != Alphas::Opaque) continue;
                        const Color tint = tintIndex < 0 ? Color() : tints[tintIndex];
                        const TintTables t(tint);
                        auto draw = [&](uint32_t* d, bool ref) {
                            if (tintIndex < 0) {
                                if (ref) {
                                    Reference::CompositeRectOntoOpaque(d, dPitch, rect, width,
                                                                       height);
                                } else {
                                    CompositeRectOntoOpaque(d, dPitch, rect, width, height);
                                }
                            } else {
                                (ref ? Reference::TintRect : TintRect)(d, dPitch, rect, width,
                                                                       height, tint, t.effAlpha,
                                                                       t.r, t.g, t.b, blend);
                            }
                        };
                        std::vector<uint32_t> expected = dst;
                        draw(expected.data() + 1, true);
                        for (SimdLevel level : Levels()) {
                            SetSimdLevel(level);
                            std::vector<uint32_t> actual = dst;
                            draw(actual.data() + 1, false);
                            ASSERT_EQ(actual, expected)
                                << width << " x " << height << (indexed ? ", indexed" : "")
                                << ", tint " << tintIndex << ", " << SimdLevelName(level);
                        }
                    }
                }
            }
        }
    }
}

// The blend form of `pixels` (rows of `pitch`), and its rectangle from pixel 1 on.
struct FormOf {
    std::vector<uint32_t> blueRed, greenWeight;
    BlendFormRect rect;
    FormOf(const std::vector<uint32_t>& pixels, int pitch)
        : blueRed(pixels.size()), greenWeight(pixels.size()) {
        MakeBlendForm(blueRed.data(), greenWeight.data(), pixels.data(), int(pixels.size()));
        rect.blueRed = blueRed.data() + 1;
        rect.greenWeight = greenWeight.data() + 1;
        rect.pitch = pitch;
    }
};

TEST_F(PixelKernelsTest, BlendFormCompositesAsThePixelsDoAtEveryLevel) {
    // Runs of 1 to 40 pixels of each kind make whole groups of sixteen transparent, opaque and
    // mixed. The destination is opaque by its flags; its alpha bytes vary, and only pixels the
    // source leaves alone keep theirs. Rows start at every offset within a cache line (the
    // pitches are odd); the widths cross the kernels' changes of method (groups of eight up to
    // 48 pixels, the destination's cache lines first from 96).
    for (int width : {1, 5, 8, 9, 12, 16, 17, 24, 40, 47, 48, 49, 63, 64, 95, 96, 97, 100, 130}) {
        for (int height : {1, 3, 40}) {
            const int srcPitch = width + 7;
            const int dPitch = width + 3;
            const size_t count = size_t(srcPitch) * size_t(height);
            for (Alphas source : {Alphas::Mixed, Alphas::Translucent, Alphas::Opaque}) {
                const std::vector<uint32_t> pixels = MakePixels(rng, count, source);
                const FormOf form(pixels, srcPitch);
                const BlendFormRect& rect = form.rect;
                const std::vector<uint32_t> dst =
                    MakePixels(rng, size_t(dPitch) * size_t(height) + 2, Alphas::Mixed);
                std::vector<uint32_t> expected = dst;
                Reference::CompositeRectOntoOpaque(expected.data() + 1, dPitch, pixels.data() + 1,
                                                   srcPitch, width, height);
                std::vector<uint32_t> scalar = dst;
                Reference::CompositeBlendFormOntoOpaque(scalar.data() + 1, dPitch, rect, width,
                                                        height);
                ASSERT_EQ(scalar, expected) << width << " x " << height << ", scalar";
                for (SimdLevel level : Levels()) {
                    SetSimdLevel(level);
                    std::vector<uint32_t> actual = dst;
                    CompositeBlendFormOntoOpaque(actual.data() + 1, dPitch, rect, width, height);
                    ASSERT_EQ(actual, expected)
                        << width << " x " << height << ", " << SimdLevelName(level);
                }
            }
        }
    }
}

TEST_F(PixelKernelsTest, DarkeningThroughTheBlendFormIsBlackTextAtEveryLevel) {
    // Black at full strength from the form: the pixels TintRect draws in black from the source
    // pixels. Opaque source pixels must not copy, and destination pixels that are not opaque
    // (the mixed destinations have some in most groups) take the general formula.
    const Color black(0, 0, 0, 255);
    const TintTables t(black);
    const uint16_t* blend = GetBlendTable().entries;
    for (int width : {1, 7, 12, 16, 17, 33, 100}) {
        for (int height : {1, 3, 20}) {
            const int srcPitch = width + 5;
            const int dPitch = width + 3;
            const size_t count = size_t(srcPitch) * size_t(height);
            for (Alphas source : {Alphas::Mixed, Alphas::Translucent, Alphas::Opaque}) {
                for (Alphas destination : {Alphas::Opaque, Alphas::Mixed}) {
                    const std::vector<uint32_t> pixels = MakePixels(rng, count, source);
                    const FormOf form(pixels, srcPitch);
                    const BlendFormRect& rect = form.rect;
                    SourceRect sourceRect;
                    sourceRect.pixels = pixels.data() + 1;
                    sourceRect.pitch = srcPitch;
                    const std::vector<uint32_t> dst =
                        MakePixels(rng, size_t(dPitch) * size_t(height) + 2, destination);
                    std::vector<uint32_t> expected = dst;
                    Reference::TintRect(expected.data() + 1, dPitch, sourceRect, width, height,
                                        black, t.effAlpha, t.r, t.g, t.b, blend);
                    std::vector<uint32_t> scalar = dst;
                    Reference::DarkenThroughBlendForm(scalar.data() + 1, dPitch, rect, width,
                                                      height, blend);
                    ASSERT_EQ(scalar, expected) << width << " x " << height << ", scalar";
                    for (SimdLevel level : Levels()) {
                        SetSimdLevel(level);
                        std::vector<uint32_t> actual = dst;
                        DarkenThroughBlendForm(actual.data() + 1, dPitch, rect, width, height,
                                               blend);
                        ASSERT_EQ(actual, expected)
                            << width << " x " << height << ", " << SimdLevelName(level);
                    }
                }
            }
        }
    }
}

TEST_F(PixelKernelsTest, FilteredStretchPassesMatchTheReferenceAtEveryLevel) {
    for (int count : {1, 3, 4, 5, 16, 17, 33, 100}) {
        std::vector<uint16_t> in(size_t(count) * 4);
        for (uint16_t& v : in) v = uint16_t(rng.Next());
        std::vector<uint32_t> acc0(size_t(count) * 4);
        for (uint32_t& v : acc0) v = rng.Next() & 0x01FFFFFF;  // up to twice a full pixel
        const std::vector<uint32_t> dst = MakePixels(rng, size_t(count), Alphas::Mixed);
        // Sums exactly 0 and exactly a full pixel as well as everything between.
        for (int i = 0; i < count; i += 3) acc0[size_t(i) * 4 + 3] = i % 2 ? 0 : 255u * 65536u;

        std::vector<uint32_t> expectedAcc = acc0;
        Reference::AccumulateColumnTap(expectedAcc.data(), in.data(), count, 256);
        std::vector<uint32_t> expectedDst = dst;
        Reference::FinishFilteredRow(expectedDst.data(), acc0.data(), count);
        for (SimdLevel level : Levels()) {
            SetSimdLevel(level);
            std::vector<uint32_t> acc = acc0;
            AccumulateColumnTap(acc.data(), in.data(), count, 256);
            EXPECT_EQ(acc, expectedAcc) << count << ", " << SimdLevelName(level);
            std::vector<uint32_t> out = dst;
            FinishFilteredRow(out.data(), acc0.data(), count);
            EXPECT_EQ(out, expectedDst) << count << ", " << SimdLevelName(level);
        }
    }
}

TEST_F(PixelKernelsTest, NearestColumnGatherMatchesTheReferenceAtEveryLevel) {
    const std::vector<uint32_t> src = MakePixels(rng, 301, Alphas::Mixed);
    for (double step : {0.25, 0.5, 1.0, 1.9, 2.0, 2.1, 7.0}) {
        for (int count : {1, 15, 16, 17, 40, 150}) {
            std::vector<int32_t> columns(static_cast<size_t>(count));
            for (int i = 0; i < count; ++i) {
                columns[size_t(i)] = std::min(300, int(3.5 + i * step));  // the row's end too
            }
            std::vector<uint32_t> expected(static_cast<size_t>(count));
            Reference::GatherRow(expected.data(), src.data(), 301, columns.data(), count);
            for (SimdLevel level : Levels()) {
                SetSimdLevel(level);
                std::vector<uint32_t> actual(static_cast<size_t>(count));
                GatherRow(actual.data(), src.data(), 301, columns.data(), count);
                EXPECT_EQ(actual, expected)
                    << step << ", " << count << ", " << SimdLevelName(level);
            }
        }
    }
}

TEST_F(PixelKernelsTest, PaletteExpansionMatchesTheReferenceAtEveryLevel) {
    const std::vector<uint32_t> table = MakePixels(rng, 256, Alphas::Mixed);
    std::vector<uint8_t> indices(200);
    for (size_t i = 0; i < indices.size(); ++i) indices[i] = uint8_t(rng.Below(256));
    indices[0] = 0;
    indices[1] = 255;
    for (int offset : {0, 1, 3}) {
        for (int count : {1, 7, 8, 15, 16, 17, 33, 150}) {
            std::vector<uint32_t> expected(static_cast<size_t>(count));
            Reference::ExpandIndices(expected.data(), indices.data() + offset, table.data(), count);
            for (SimdLevel level : Levels()) {
                SetSimdLevel(level);
                // One pixel past the row stays as it was.
                std::vector<uint32_t> actual(static_cast<size_t>(count) + 1, 0xDEADBEEF);
                ExpandIndices(actual.data(), indices.data() + offset, table.data(), count);
                EXPECT_EQ(actual.back(), 0xDEADBEEF) << count << ", " << SimdLevelName(level);
                actual.pop_back();
                EXPECT_EQ(actual, expected)
                    << offset << ", " << count << ", " << SimdLevelName(level);
            }
        }
    }
}

// Whole drawing operations through the drawing context, at the scalar level and at every vector
// level, on the same images.
struct DrawCase {
    const char* name;
    bool opaqueTarget;  // the target is flagged opaque (the back buffer)
    std::function<void(Graphics& g, MemoryImage* src)> draw;
};

TEST_F(PixelKernelsTest, DrawingMatchesTheScalarLevelAtEveryLevel) {
    constexpr int kW = 131, kH = 37;
    const DrawCase cases[] = {
        {"blit onto opaque", true, [](Graphics& g, MemoryImage* s) { g.DrawImage(s, -5, 3); }},
        {"blit onto translucent", false,
         [](Graphics& g, MemoryImage* s) { g.DrawImage(s, 9, -2); }},
        {"blit part, clipped", true,
         [](Graphics& g, MemoryImage* s) {
             g.ClipRect(7, 5, 77, 20);
             g.DrawImage(s, 3, 1, Rect(1, 2, 90, 30));
         }},
        {"narrow blits onto opaque", true,
         [](Graphics& g, MemoryImage* s) {
             for (int w : {1, 5, 12, 16, 17, 31, 32}) g.DrawImage(s, 2 * w, w, Rect(w, 3, w, 20));
         }},
        {"tinted blit onto opaque", true,
         [](Graphics& g, MemoryImage* s) {
             g.SetColorizeImages(true);
             g.SetColor(Color(90, 255, 13, 201));
             g.DrawImage(s, 1, 0);
         }},
        {"tinted blit onto translucent", false,
         [](Graphics& g, MemoryImage* s) {
             g.SetColorizeImages(true);
             g.SetColor(Color(255, 128, 0, 255));
             g.DrawImage(s, 0, 1);
         }},
        {"additive", true,
         [](Graphics& g, MemoryImage* s) {
             g.SetDrawMode(1);
             g.DrawImage(s, 2, 2);
         }},
        {"additive tinted", false,
         [](Graphics& g, MemoryImage* s) {
             g.SetDrawMode(1);
             g.SetColorizeImages(true);
             g.SetColor(Color(10, 200, 255, 99));
             g.DrawImage(s, -1, 0);
         }},
        {"translucent fill", true,
         [](Graphics& g, MemoryImage*) {
             g.SetColor(Color(10, 200, 30, 100));
             g.FillRect(3, 1, 120, 33);
         }},
        {"translucent fill onto translucent", false,
         [](Graphics& g, MemoryImage*) {
             g.SetColor(Color(250, 2, 130, 7));
             g.FillRect(0, 0, kW, kH);
         }},
        {"opaque fill, clipped", true,
         [](Graphics& g, MemoryImage*) {
             g.ClipRect(1, 1, 70, 9);
             g.SetColor(Color(1, 2, 3));
             g.FillRect(-4, -4, 200, 200);
         }},
        {"fast stretch", true,
         [](Graphics& g, MemoryImage* s) {
             g.SetFastStretch(true);
             g.ClipRect(3, 2, 120, 30);
             g.DrawImage(s, Rect(-7, 1, 203, 61), Rect(3, 1, 100, 30));
         }},
        {"fast stretch onto translucent", false,
         [](Graphics& g, MemoryImage* s) {
             g.SetFastStretch(true);
             g.DrawImage(s, 0, 0, 61, 40);
         }},
        {"filtered stretch up", true,
         [](Graphics& g, MemoryImage* s) {
             g.DrawImage(s, Rect(-3, -2, 270, 77), Rect(0, 0, 131, 37));
         }},
        {"filtered stretch a little smaller", true,
         [](Graphics& g, MemoryImage* s) {
             g.DrawImage(s, Rect(2, 1, 100, 30), Rect(0, 0, 131, 37));
         }},
        {"filtered stretch down, clipped", false,
         [](Graphics& g, MemoryImage* s) {
             g.ClipRect(2, 2, 50, 20);
             g.DrawImage(s, 1, 1, 63, 17);
         }},
    };
    const std::vector<uint32_t> srcPixels = MakePixels(rng, size_t(kW) * kH, Alphas::Mixed);
    const std::vector<uint32_t> opaquePixels = MakePixels(rng, size_t(kW) * kH, Alphas::Opaque);
    const std::vector<uint32_t> anyPixels = MakePixels(rng, size_t(kW) * kH, Alphas::Mixed);
    auto render = [&](const DrawCase& c, bool palette) {
        auto src = pixeltest::MakeImage(kW, kH);
        src->SetBits(srcPixels.data(), kW, kH);
        if (palette) {
            // A palettized source: the same run structure through the colour table.
            std::vector<uint32_t> few(srcPixels.size());
            for (size_t i = 0; i < few.size(); ++i) few[i] = srcPixels[i] & 0xF0E0C0D0u;
            src->SetBits(few.data(), kW, kH);
            src->Palletize();
        }
        auto target = pixeltest::MakeImage(kW, kH);
        target->SetBits((c.opaqueTarget ? opaquePixels : anyPixels).data(), kW, kH);
        if (c.opaqueTarget) target->SetImageMode(false, false);
        Graphics g(target.get());
        c.draw(g, src.get());
        const uint32_t* bits = target->GetBits();
        return std::vector<uint32_t>(bits, bits + size_t(kW) * kH);
    };
    for (const DrawCase& c : cases) {
        for (bool palette : {false, true}) {
            SetSimdLevel(SimdLevel::Scalar);
            const std::vector<uint32_t> expected = render(c, palette);
            ASSERT_NE(
                expected,
                render(DrawCase{c.name, c.opaqueTarget, [](Graphics&, MemoryImage*) {}}, palette))
                << c.name << " draws something";
            for (SimdLevel level : Levels()) {
                SetSimdLevel(level);
                EXPECT_EQ(render(c, palette), expected)
                    << c.name << (palette ? ", palette" : "") << ", " << SimdLevelName(level);
            }
        }
    }
}

}  // namespace

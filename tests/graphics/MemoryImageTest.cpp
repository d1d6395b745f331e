// Buffers and derived data of memory images.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "PixelTestSupport.h"
#include "graphics/MemoryImage.h"
#include "graphics/MemoryImageHost.h"
#include "graphics/PixelKernels.h"
#include "graphics/ScreenImage.h"

using namespace Zarvo;
using pixeltest::MakeImage;
using pixeltest::PixelAt;

TEST(MemoryImageTest, LazyBitsWithGuardWord) {
    MemoryImage empty(nullptr);
    empty.Create(0, 0);
    ASSERT_NE(empty.GetBits(), nullptr);
    EXPECT_EQ(empty.GetBits()[0], MemoryImage::kGuardWord);

    MemoryImage image(nullptr);
    image.Create(3, 2);
    EXPECT_TRUE(image.hasTrans);
    EXPECT_TRUE(image.hasAlpha);
    EXPECT_EQ(image.bits, nullptr);  // made on first use
    uint32_t* bits = image.GetBits();
    ASSERT_NE(bits, nullptr);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(bits[i], 0u);
    EXPECT_EQ(bits[6], MemoryImage::kGuardWord);
}

// The vector kernels store whole cache lines only from buffers that start on one.
TEST(MemoryImageTest, PixelBuffersStartOnACacheLine) {
    auto aligned = [](const void* p) { return reinterpret_cast<uintptr_t>(p) % 64 == 0; };
    for (int width : {1, 40, 300, 640}) {
        MemoryImage image(nullptr);
        image.Create(width, 7);
        EXPECT_TRUE(aligned(image.GetBits())) << width;
        image.FillRect(Rect(0, 0, width, 3), Color(10, 20, 30, 128), 0);
        image.GetBlendForm();  // made on the second request
        const uint32_t* form = image.GetBlendForm();
        ASSERT_NE(form, nullptr) << width;
        EXPECT_TRUE(aligned(form)) << width;
    }
}

TEST(MemoryImageTest, OversizedImagesAllocateNothingAndDrawNothing) {
    EXPECT_EQ(MemoryImage::GuardedPixelCount(70000, 70000), SIZE_MAX);
    EXPECT_EQ(MemoryImage::GuardedPixelCount(-1, 5), SIZE_MAX);
    EXPECT_EQ(MemoryImage::GuardedPixelCount(0, 0), 1u);
    MemoryImage huge(nullptr);
    huge.Create(70000, 70000);
    EXPECT_EQ(huge.GetBits(), nullptr);
    huge.FillRect(Rect(0, 0, 10, 10), Color(1, 2, 3), 0);  // no crash
    auto small = MakeImage(2, 2, 0xFF000000);
    small->Blt(&huge, 0, 0, Rect(0, 0, 2, 2), Color::White, 0);
    EXPECT_EQ(PixelAt(*small, 0, 0), 0xFF000000u);
}

TEST(MemoryImageTest, CommitBitsComputesFlagsUnlessForced) {
    struct Case {
        std::vector<uint32_t> pixels;
        bool trans, alpha;
    };
    const Case cases[] = {
        {{0xFF000000, 0xFFFFFFFF}, false, false},
        {{0xFF000000, 0x00FFFFFF}, true, false},
        {{0x80000000, 0xFFFFFFFF}, false, true},
        {{0x00000000, 0x01000000}, true, true},
    };
    for (const Case& c : cases) {
        MemoryImage image(nullptr);
        image.SetBits(c.pixels.data(), int(c.pixels.size()), 1);
        EXPECT_EQ(image.hasTrans, c.trans);
        EXPECT_EQ(image.hasAlpha, c.alpha);
    }

    auto image = MakeImage(2, 1, 0xFF000000);
    image->SetImageMode(true, true);
    image->GetBits()[0] = 0xFF123456;
    image->BitsChanged();
    image->CommitBits();
    EXPECT_TRUE(image->hasTrans);
    EXPECT_TRUE(image->hasAlpha);

    MemoryImage nothing(nullptr);
    nothing.BitsChanged();
    nothing.CommitBits();
    EXPECT_TRUE(nothing.hasTrans);
}

TEST(MemoryImageTest, Palletize256ColoursYes257No) {
    std::vector<uint32_t> pixels;
    for (uint32_t i = 0; i < 256; ++i) pixels.push_back(0xFF000000 | (i * 0x010101));
    pixels.push_back(pixels[5]);  // repeats do not count

    MemoryImage fits(nullptr);
    fits.SetBits(pixels.data(), int(pixels.size()), 1);
    ASSERT_TRUE(fits.Palletize());
    EXPECT_TRUE(fits.wantPal);
    EXPECT_EQ(fits.bits, nullptr);
    EXPECT_EQ(fits.colorTable[0], pixels[0]);  // order of first appearance
    EXPECT_EQ(fits.colorTable[255], pixels[255]);
    EXPECT_EQ(fits.colorIndices[256], 5);
    EXPECT_TRUE(fits.Palletize());  // already palettized
    // Back to 32-bit pixels on demand, frees the palette.
    uint32_t* restored = fits.GetBits();
    for (size_t i = 0; i < pixels.size(); ++i) EXPECT_EQ(restored[i], pixels[i]);
    EXPECT_EQ(fits.colorTable, nullptr);
    EXPECT_EQ(restored[pixels.size()], MemoryImage::kGuardWord);

    pixels.push_back(0x12345678);  // a 257th colour
    MemoryImage tooMany(nullptr);
    tooMany.SetBits(pixels.data(), int(pixels.size()), 1);
    EXPECT_FALSE(tooMany.Palletize());
    EXPECT_FALSE(tooMany.wantPal);
    EXPECT_EQ(tooMany.colorTable, nullptr);
    ASSERT_NE(tooMany.bits, nullptr);
    EXPECT_EQ(tooMany.bits[257], 0x12345678u);

    MemoryImage noPixels(nullptr);
    EXPECT_FALSE(noPixels.Palletize());
}

TEST(MemoryImageTest, RunLengthAlphaTable) {
    // Classes: opaque x3, transparent, translucent x2.
    auto image =
        MakeImage(6, 2,
                  {0xFF000000, 0xFF111111, 0xFF222222, 0x00000000, 0x80000000, 0x01000000,
                   0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000});
    const uint8_t* rl = image->GetRLAlphaData();
    ASSERT_NE(rl, nullptr);
    EXPECT_EQ(std::vector<uint8_t>(rl, rl + 12),
              (std::vector<uint8_t>{3, 2, 1, 1, 2, 1, 6, 5, 4, 3, 2, 1}));

    auto narrow = MakeImage(1, 3, {0xFF000000, 0xFF000000, 0x00000000});
    const uint8_t* rl1 = narrow->GetRLAlphaData();
    EXPECT_EQ(std::vector<uint8_t>(rl1, rl1 + 3), (std::vector<uint8_t>{1, 1, 1}));

    auto wide = MakeImage(300, 1, 0xFF000000);
    const uint8_t* rlw = wide->GetRLAlphaData();
    EXPECT_EQ(rlw[0], 255);
    EXPECT_EQ(rlw[44], 255);
    EXPECT_EQ(rlw[45], 255);
    EXPECT_EQ(rlw[46], 254);
    EXPECT_EQ(rlw[299], 1);

    image->BitsChanged();  // derived buffers are dropped with every change
    EXPECT_EQ(image->rlAlphaData, nullptr);
}

TEST(MemoryImageTest, NativeAlphaAndAdditiveRuns) {
    auto image = MakeImage(3, 1, {0x80FF8040, 0xFF000000, 0x00FFFFFF});
    const uint32_t* native = image->GetNativeAlphaData(nullptr);
    ASSERT_NE(native, nullptr);
    // k = 129: 255 -> 128, 128 -> 64, 64 -> 32.
    EXPECT_EQ(native[0], 0x80804020u);
    EXPECT_EQ(native[1], 0xFF000000u);
    EXPECT_EQ(native[2], 0x00000000u);  // k = 1: every channel 0
    const uint8_t* rl = image->GetRLAdditiveData(nullptr);
    EXPECT_EQ(std::vector<uint8_t>(rl, rl + 3), (std::vector<uint8_t>{1, 2, 1}));
}

TEST(MemoryImageTest, NativeAlphaInA16BitFormat) {
    NativeDisplay rgb565;
    rgb565.rgbBitCount = 16;
    rgb565.redMask = 0xF800;
    rgb565.greenMask = 0x07E0;
    rgb565.blueMask = 0x001F;
    rgb565.redBitCount = 5;
    rgb565.greenBitCount = 6;
    rgb565.blueBitCount = 5;
    rgb565.redShift = 11;
    rgb565.greenShift = 5;
    rgb565.blueShift = 0;
    auto image = MakeImage(2, 1, {0xFFFF8040, 0x80FF8040});
    const uint32_t* native = image->GetNativeAlphaData(&rgb565);
    // k = 256: 255 >> 3 = 31, 128 >> 2 = 32, 64 >> 3 = 8; alpha in the top byte.
    EXPECT_EQ(native[0], 0xFF000000u | (31u << 11) | (32u << 5) | 8u);
    // k = 129: 128 >> 3 = 16, 64 >> 2 = 16, 32 >> 3 = 4.
    EXPECT_EQ(native[1], 0x80000000u | (16u << 11) | (16u << 5) | 4u);
}

TEST(MemoryImageTest, PurgeKeepsTheDisplayFormAndRestores) {
    auto image = MakeImage(2, 1, {0xFF102030, 0x00000000});
    image->PurgeBits();
    EXPECT_TRUE(image->purgeBits);
    EXPECT_EQ(image->bits, nullptr);
    ASSERT_NE(image->nativeAlphaData, nullptr);
    uint32_t* bits = image->GetBits();
    EXPECT_EQ(bits[0], 0xFF102030u);  // opaque pixels come back exactly
    EXPECT_EQ(bits[1], 0x00000000u);
}

TEST(MemoryImageTest, CopyCopiesPixelsFlagsAndDerivedData) {
    auto image = MakeImage(2, 1, {0xFF102030, 0x80000000});
    image->GetRLAlphaData();
    image->isVolatile = true;
    MemoryImage copy(*image);
    EXPECT_EQ(copy.width, 2);
    EXPECT_EQ(PixelAt(copy, 1, 0), 0x80000000u);
    EXPECT_EQ(copy.bits[2], MemoryImage::kGuardWord);
    EXPECT_NE(copy.bits.get(), image->bits.get());
    ASSERT_NE(copy.rlAlphaData, nullptr);
    EXPECT_EQ(copy.rlAlphaData[0], 1);
    EXPECT_TRUE(copy.isVolatile);
    EXPECT_TRUE(copy.hasAlpha);
}

TEST(MemoryImageTest, RegistersWithItsHost) {
    struct Host : MemoryImageHost {
        std::vector<MemoryImage*> images;
        void AddMemoryImage(MemoryImage* image) override { images.push_back(image); }
        void RemoveMemoryImage(MemoryImage* image) override { std::erase(images, image); }
    } host;
    {
        MemoryImage image(&host);
        MemoryImage copy(image);
        EXPECT_EQ(host.images, (std::vector<MemoryImage*>{&image, &copy}));
    }
    EXPECT_TRUE(host.images.empty());

    MemoryImage::SetDefaultHost(&host);
    {
        MemoryImage image;
        EXPECT_EQ(host.images.size(), 1u);
    }
    MemoryImage::SetDefaultHost(nullptr);
    EXPECT_TRUE(host.images.empty());
}

TEST(MemoryImageTest, ClearAndClearRect) {
    auto image = MakeImage(3, 2, 0xFFFFFFFF);
    image->ClearRect(Rect(1, 0, 5, 1));  // cut to the image
    EXPECT_EQ(PixelAt(*image, 0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(PixelAt(*image, 2, 0), 0u);
    EXPECT_EQ(PixelAt(*image, 2, 1), 0xFFFFFFFFu);
    const int changes = image->bitsChangedCount;
    image->Clear();
    EXPECT_EQ(PixelAt(*image, 0, 1), 0u);
    EXPECT_EQ(image->bitsChangedCount, changes + 1);
}

// A whole-image opaque fill is written only when something reads or draws on the pixels, or is
// composited over directly by a background covering the image. Whatever follows, the pixels are
// those of the same fill drawn at once (here as two halves, which are never deferred).
TEST(MemoryImageTest, DeferredWholeFillGivesThePixelsOfAnImmediateFill) {
    constexpr int kW = 37, kH = 11;
    std::vector<uint32_t> mixed(size_t(kW) * kH), opaque(size_t(kW) * kH);
    for (size_t i = 0; i < mixed.size(); ++i) {
        const uint32_t rgb = uint32_t(i * 2654435761u) & 0x00FFFFFF;
        mixed[i] = (uint32_t((i * 37) % 5) * 63u << 24) | rgb;
        opaque[i] = 0xFF000000u | rgb;
    }
    auto mixedImage = MakeImage(kW, kH);
    mixedImage->SetBits(mixed.data(), kW, kH);
    auto opaqueImage = MakeImage(kW, kH);
    opaqueImage->SetBits(opaque.data(), kW, kH);
    const Rect all(0, 0, kW, kH);
    using Read = std::function<std::vector<uint32_t>(MemoryImage&)>;
    auto pixels = [](MemoryImage& image) {
        const uint32_t* bits = image.GetBits();
        std::vector<uint32_t> out;
        for (int y = 0; y < image.height; ++y) {
            out.insert(out.end(), bits + size_t(y) * size_t(image.GetPitch()),
                       bits + size_t(y) * size_t(image.GetPitch()) + size_t(image.width));
        }
        return out;
    };
    struct Case {
        const char* name;
        Read then;
    };
    const Case cases[] = {
        {"read", pixels},
        {"opaque background at its own size",
         [&](MemoryImage& t) {
             t.StretchBlt(opaqueImage.get(), all, all, all, Color::White, 0, true);
             return pixels(t);
         }},
        {"translucent background at its own size",
         [&](MemoryImage& t) {
             t.StretchBlt(mixedImage.get(), all, all, all, Color::White, 0, true);
             return pixels(t);
         }},
        {"background clipped to part of the image",
         [&](MemoryImage& t) {
             t.StretchBlt(mixedImage.get(), all, all, Rect(0, 0, kW, 5), Color::White, 0, true);
             return pixels(t);
         }},
        {"background stretched",
         [&](MemoryImage& t) {
             t.StretchBlt(mixedImage.get(), all, Rect(0, 0, 20, 11), all, Color::White, 0, true);
             return pixels(t);
         }},
        {"filtered background",
         [&](MemoryImage& t) {
             t.StretchBlt(mixedImage.get(), all, all, all, Color::White, 0, false);
             return pixels(t);
         }},
        {"blit",
         [&](MemoryImage& t) {
             t.Blt(mixedImage.get(), 3, 2, Rect(0, 0, 20, 5), Color::White, 0);
             return pixels(t);
         }},
        {"translucent fill",
         [&](MemoryImage& t) {
             t.FillRect(all, Color(200, 10, 30, 77), 0);
             return pixels(t);
         }},
        {"another whole fill",
         [&](MemoryImage& t) {
             t.FillRect(all, Color(9, 8, 7), 0);
             return pixels(t);
         }},
        {"copy",
         [&](MemoryImage& t) {
             MemoryImage copy(t);
             return pixels(copy);
         }},
        {"palette",
         [&](MemoryImage& t) {
             EXPECT_TRUE(t.Palletize());
             return pixels(t);
         }},
        {"flags",
         [&](MemoryImage& t) {
             t.CommitBits();
             EXPECT_FALSE(t.hasTrans);
             EXPECT_FALSE(t.hasAlpha);
             return pixels(t);
         }},
    };
    const Color fill(40, 50, 60);
    for (const Case& c : cases) {
        auto deferred = MakeImage(kW, kH, 0x12345678);
        deferred->FillRect(all, fill, 0);
        auto immediate = MakeImage(kW, kH, 0x12345678);
        immediate->FillRect(Rect(0, 0, kW, 6), fill, 0);
        immediate->FillRect(Rect(0, 6, kW, kH - 6), fill, 0);
        EXPECT_EQ(c.then(*deferred), c.then(*immediate)) << c.name;
    }

    // The display's buffer: filled once written out, and a partial copy keeps the fill around it.
    std::vector<uint32_t> buffer(size_t(kW) * kH, 0xAAAAAAAA);
    ScreenImage screen(buffer.data(), kW, kH, kW * 4);
    screen.FillRect(all, fill, 0);
    const uint32_t one = 0xFF010203;
    screen.SetBits(&one, 1, 1);
    EXPECT_EQ(buffer[0], one);
    EXPECT_EQ(buffer[1], fill.ToInt());
    screen.FillRect(all, fill, 0);
    screen.WritePendingFill();
    EXPECT_EQ(buffer.back(), fill.ToInt());
}

TEST(MemoryImageTest, BlackTextDrawsTheSameFromTheBlendForm) {
    // Black at full strength is drawn from the source's blend form from its second draw on: the
    // pixels must be the tint's, over a screen with a few pixels that are not opaque, from a
    // 32-bit source and from a palette one.
    std::vector<uint32_t> pixels(30 * 12);
    for (size_t i = 0; i < pixels.size(); ++i) {
        const uint32_t a = i % 6 == 0 ? 0 : i % 4 == 0 ? 255 : uint32_t(i * 53 % 254) + 1;
        pixels[i] = (a << 24) | uint32_t(i * 2654435761u >> 8 & 0x00FFFFFF);
    }
    const Rect part(2, 1, 25, 10);
    const Color black(0, 0, 0, 255);
    auto screenPixels = [] {
        std::vector<uint32_t> p(40 * 20, 0xFF8090A0);
        for (size_t i = 0; i < p.size(); i += 37) p[i] = 0x40102030;
        return p;
    };
    auto expectDrawnAsTinted = [&](MemoryImage& source, const char* what) {
        const pixeltest::TintTables t(black);
        std::vector<uint32_t> expected = screenPixels();
        PixelKernels::SourceRect rect;
        const std::vector<uint32_t> sourcePixels(source.GetBits(), source.GetBits() + 30 * 12);
        rect.pixels = sourcePixels.data() + 1 * 30 + 2;
        rect.pitch = 30;
        PixelKernels::Reference::TintRect(expected.data() + 3 * 40 + 4, 40, rect, part.width,
                                          part.height, black, t.effAlpha, t.r, t.g, t.b,
                                          PixelKernels::GetBlendTable().entries);
        for (int draw = 1; draw <= 2; ++draw) {
            std::vector<uint32_t> start = screenPixels();
            MemoryImage screen(nullptr);
            screen.SetBits(start.data(), 40, 20);
            screen.Blt(&source, 4, 3, part, black, 0);
            EXPECT_EQ(std::vector<uint32_t>(screen.GetBits(), screen.GetBits() + 40 * 20), expected)
                << what << ", draw " << draw;
        }
    };
    MemoryImage source(nullptr);
    source.SetBits(pixels.data(), 30, 12);
    expectDrawnAsTinted(source, "32-bit pixels");
    EXPECT_NE(source.blendForm, nullptr);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = pixels[i % 100];
    source.SetBits(pixels.data(), 30, 12);
    ASSERT_TRUE(source.Palletize());
    expectDrawnAsTinted(source, "palette form");
}

TEST(MemoryImageTest, BlitsOntoAnOpaqueImageFollowTheSourcesPixels) {
    // The blend form a source keeps for these blits (made at its second draw) must give the
    // pixels' composite for a part of the source, and follow the pixels when they change, in
    // 32-bit and in palette form.
    std::vector<uint32_t> pixels(48 * 20);
    for (size_t i = 0; i < pixels.size(); ++i) {
        const uint32_t a = i % 7 == 0 ? 0 : i % 5 == 0 ? 255 : uint32_t(i * 37 % 254) + 1;
        pixels[i] = (a << 24) | uint32_t(i * 2654435761u >> 8 & 0x00FFFFFF);
    }
    const Rect part(3, 2, 41, 17);
    // Draws the part twice, each time onto a fresh opaque screen, and compares with the
    // composite of `expectedSource`'s pixels.
    auto expectDrawnAs = [&](MemoryImage& source, MemoryImage& expectedSource, const char* what) {
        std::vector<uint32_t> expected(64 * 32, 0xFF204060);
        PixelKernels::Reference::CompositeRectOntoOpaque(expected.data() + 4 * 64 + 5, 64,
                                                         expectedSource.GetBits() + 2 * 48 + 3, 48,
                                                         part.width, part.height);
        for (int draw = 1; draw <= 2; ++draw) {
            auto screen = MakeImage(64, 32, 0xFF204060);
            screen->SetImageMode(false, false);
            screen->Blt(&source, 5, 4, part, Color::White, 0);
            EXPECT_EQ(std::vector<uint32_t>(screen->GetBits(), screen->GetBits() + 64 * 32),
                      expected)
                << what << ", draw " << draw;
        }
    };
    auto source = std::make_unique<MemoryImage>(nullptr);
    source->SetBits(pixels.data(), 48, 20);
    expectDrawnAs(*source, *source, "first pixels");
    EXPECT_NE(source->blendForm, nullptr);
    for (uint32_t& p : pixels) p = (p & 0xFF000000) | (~p & 0x00FFFFFF);
    source->SetBits(pixels.data(), 48, 20);
    expectDrawnAs(*source, *source, "after SetBits");
    source->GetBits()[2 * 48 + 3] = 0x80FFFFFF;
    source->BitsChanged();
    expectDrawnAs(*source, *source, "after a change through GetBits");

    // A palette form: 200 distinct pixels (GetBits would leave palette form: a copy answers).
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = pixels[i % 200];
    source->SetBits(pixels.data(), 48, 20);
    ASSERT_TRUE(source->Palletize());
    MemoryImage copy(*source);
    expectDrawnAs(*source, copy, "palette form");
    EXPECT_NE(source->colorIndices, nullptr);
}

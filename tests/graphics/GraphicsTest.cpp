// The drawing context: state, translation, clipping, image placement and text layout.
#include <gtest/gtest.h>

#include <climits>

#include "PixelTestSupport.h"
#include "graphics/Graphics.h"
#include "graphics/MemoryImage.h"
#include "graphics/ScreenImage.h"

using namespace Zarvo;
using pixeltest::MakeImage;
using pixeltest::PixelAt;
using pixeltest::RecordingFont;

namespace {

// An opaque destination (drawn with exact copies) of w x h black pixels.
std::unique_ptr<MemoryImage> OpaqueTarget(int w, int h) {
    auto image = MakeImage(w, h, 0xFF000000);
    image->SetImageMode(false, false);
    return image;
}

// An opaque w x h image whose pixel (x, y) is 0xFF00XXYY.
std::unique_ptr<MemoryImage> CoordinateImage(int w, int h) {
    std::vector<uint32_t> pixels;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) pixels.push_back(0xFF000000u | uint32_t(x << 8) | uint32_t(y));
    }
    auto image = std::make_unique<MemoryImage>(nullptr);
    image->SetBits(pixels.data(), w, h);
    return image;
}

uint32_t Coord(int x, int y) {
    return 0xFF000000u | uint32_t(x << 8) | uint32_t(y);
}

// The set of pixels that differ from black, as a picture of '#' and '.'.
std::string Picture(MemoryImage& image) {
    std::string out;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) out += PixelAt(image, x, y) != 0xFF000000 ? '#' : '.';
        out += '\n';
    }
    return out;
}

}  // namespace

TEST(GraphicsTest, DefaultsAndStateStack) {
    auto image = MakeImage(5, 4);
    Graphics g(image.get());
    EXPECT_EQ(g.GetClipRect(), Rect(0, 0, 5, 4));
    EXPECT_EQ(g.GetColor(), Color(0, 0, 0, 255));
    EXPECT_EQ(g.GetDrawMode(), 0);
    EXPECT_TRUE(g.GetWriteColoredString());
    EXPECT_FALSE(g.GetColorizeImages());

    g.PopState();  // empty stack: nothing happens
    EXPECT_EQ(g.GetClipRect(), Rect(0, 0, 5, 4));
    g.PushState();
    g.SetColor(Color(1, 2, 3));
    g.Translate(2, 1);
    g.ClipRect(0, 0, 2, 2);
    EXPECT_EQ(g.GetClipRect(), Rect(2, 1, 2, 2));
    auto copy = g.Create();
    copy->PopState();  // a copy starts with an empty stack
    EXPECT_EQ(copy->GetClipRect(), Rect(2, 1, 2, 2));
    g.PopState();
    EXPECT_EQ(g.GetClipRect(), Rect(0, 0, 5, 4));
    EXPECT_EQ(g.GetColor(), Color(0, 0, 0, 255));
    EXPECT_EQ(g.transX, 0.0f);

    Graphics measuring(nullptr);
    EXPECT_EQ(measuring.GetDestImage(), Graphics::GetEmptyImage());
    EXPECT_EQ(measuring.GetClipRect(), Rect(0, 0, 0, 0));
    measuring.FillRect(0, 0, 10, 10);  // draws nothing, no crash
}

TEST(GraphicsTest, TranslationTruncatesTowardZero) {
    struct Case {
        float trans;
        int x;
        int expectedColumn;
    };
    for (const Case& c : {Case{0.75f, 0, 0}, Case{0.75f, -1, 0}, Case{-0.5f, 1, 0},
                          Case{1.5f, 1, 2}, Case{-1.25f, 3, 1}}) {
        auto image = OpaqueTarget(4, 1);
        Graphics g(image.get());
        g.transX = c.trans;
        g.SetColor(Color(255, 255, 255));
        g.FillRect(c.x, 0, 1, 1);
        std::string expected = "....\n";
        expected[size_t(c.expectedColumn)] = '#';
        EXPECT_EQ(Picture(*image), expected) << "trans " << c.trans << " x " << c.x;
    }
}

TEST(GraphicsTest, FillAndDrawRectClipAndSkipAlphaZero) {
    auto image = OpaqueTarget(6, 4);
    Graphics g(image.get());
    g.SetColor(Color(255, 255, 255, 0));
    for (int mode : {0, 1}) {
        g.SetDrawMode(mode);
        g.FillRect(0, 0, 6, 4);
        g.DrawRect(0, 0, 3, 3);
    }
    EXPECT_EQ(Picture(*image), "......\n......\n......\n......\n");

    g.SetDrawMode(0);
    g.SetColor(Color(255, 255, 255));
    g.ClipRect(1, 1, 4, 2);
    g.FillRect(-5, -5, 100, 100);
    EXPECT_EQ(Picture(*image), "......\n.####.\n.####.\n......\n");
}

TEST(GraphicsTest, DrawRectOutlineWholeOrAsFourClippedFills) {
    auto whole = OpaqueTarget(12, 7);
    Graphics g(whole.get());
    g.SetColor(Color(255, 255, 255));
    g.DrawRect(0, 0, 10, 5);  // 11 x 6 outline
    EXPECT_EQ(Picture(*whole),
              "###########.\n"
              "#.........#.\n"
              "#.........#.\n"
              "#.........#.\n"
              "#.........#.\n"
              "###########.\n"
              "............\n");

    auto clipped = OpaqueTarget(12, 7);
    Graphics c(clipped.get());
    c.SetColor(Color(255, 255, 255));
    c.ClipRect(0, 0, 10, 7);  // cuts the right edge: drawn as four clipped fills
    c.DrawRect(0, 0, 10, 5);
    EXPECT_EQ(Picture(*clipped),
              "##########..\n"
              "#...........\n"
              "#...........\n"
              "#...........\n"
              "#...........\n"
              "##########..\n"
              "............\n");
}

TEST(GraphicsTest, LineClipper) {
    struct Case {
        double x1, y1, x2, y2;
        bool visible;
        double ex1, ey1, ex2, ey2;
    };
    const Rect clip(0, 0, 10, 10);
    const Case cases[] = {
        {-5, 0, 5, 10, true, 0, 5, 4, 9},   // enters on the left, leaves at the bottom
        {5, 10, -5, 0, true, 0, 5, 4, 9},   // the same line reversed
        {-5, 1, -1, 8, false, 0, 0, 0, 0},  // wholly left
        {12, 1, 20, 8, false, 0, 0, 0, 0},  // wholly right
        {2, -9, 8, -1, false, 0, 0, 0, 0},  // wholly above
        {2, 3, 7, 4, true, 2, 3, 7, 4},     // inside: untouched
        {0, 0, 20, 0, true, 0, 0, 9, 0},    // right edge is the last column
    };
    for (const Case& c : cases) {
        double x1 = c.x1, y1 = c.y1, x2 = c.x2, y2 = c.y2;
        EXPECT_EQ(Graphics::ClipLine(clip, x1, y1, x2, y2), c.visible) << c.x1 << "," << c.y1;
        if (!c.visible) continue;
        EXPECT_DOUBLE_EQ(x1, c.ex1);
        EXPECT_DOUBLE_EQ(y1, c.ey1);
        EXPECT_DOUBLE_EQ(x2, c.ex2);
        EXPECT_DOUBLE_EQ(y2, c.ey2);
    }

    auto image = OpaqueTarget(5, 5);
    Graphics g(image.get());
    g.SetColor(Color(255, 255, 255));
    g.ClipRect(0, 0, 3, 5);
    g.DrawLine(0, 0, 4, 4);
    EXPECT_EQ(Picture(*image), "#....\n.#...\n..#..\n.....\n.....\n");
}

TEST(GraphicsTest, DrawImageClipsAndMovesTheSource) {
    auto src = CoordinateImage(4, 4);
    auto dst = OpaqueTarget(4, 4);
    Graphics g(dst.get());
    g.ClipRect(1, 1, 2, 2);
    g.DrawImage(src.get(), 0, 0);
    EXPECT_EQ(PixelAt(*dst, 0, 0), 0xFF000000u);
    EXPECT_EQ(PixelAt(*dst, 1, 1), Coord(1, 1));
    EXPECT_EQ(PixelAt(*dst, 2, 2), Coord(2, 2));
    EXPECT_EQ(PixelAt(*dst, 3, 3), 0xFF000000u);

    auto dst2 = OpaqueTarget(4, 4);
    Graphics t(dst2.get());
    t.Translate(-1, 1);
    t.DrawImage(src.get(), 0, 0, Rect(1, 0, 3, 2));  // part of the image, cut on the left
    EXPECT_EQ(PixelAt(*dst2, 0, 1), Coord(2, 0));
    EXPECT_EQ(PixelAt(*dst2, 1, 2), Coord(3, 1));
    EXPECT_EQ(PixelAt(*dst2, 2, 1), 0xFF000000u);

    auto dst3 = OpaqueTarget(4, 4);
    Graphics s(dst3.get());
    s.DrawImage(src.get(), 0, 0, Rect(2, 0, 3, 1));  // sticks out of the image: skipped whole
    s.DrawImage(src.get(), 0, 0, Rect(-1, 0, 2, 1));
    EXPECT_EQ(Picture(*dst3), "....\n....\n....\n....\n");
}

TEST(GraphicsTest, ColorizeTintsImages) {
    auto src = MakeImage(1, 1, 0xFFC86432);
    for (bool colorize : {false, true}) {
        auto dst = MakeImage(1, 1, 0xFF000000);
        Graphics g(dst.get());
        g.SetColor(Color(128, 255, 64, 128));
        g.SetColorizeImages(colorize);
        g.DrawImage(src.get(), 0, 0);
        // Untinted onto an opaque image: copied. Tinted: m = 128, tinted source 100, 99, 12,
        // w = 128.
        EXPECT_EQ(PixelAt(*dst, 0, 0), colorize ? 0xFF323106u : 0xFFC86432u);
    }
}

TEST(GraphicsTest, ScaledAndStretchedImagesGoThroughStretchBlt) {
    auto src = MakeImage(2, 1, {0xFFFF0000, 0xFF0000FF});
    auto dst = MakeImage(6, 2, 0xFF000000);
    Graphics g(dst.get());
    g.SetFastStretch(true);
    g.SetScale(2.0f, 2.0f, 1.0f, 0.0f);
    // x = floor((1 - 1) x 2) + 1 = 1; 4 x 2 pixels.
    g.DrawImage(src.get(), 1, 0);
    EXPECT_EQ(PixelAt(*dst, 0, 0), 0xFF000000u);
    EXPECT_EQ(PixelAt(*dst, 1, 1), 0xFFFE0000u);
    EXPECT_EQ(PixelAt(*dst, 2, 0), 0xFFFE0000u);
    EXPECT_EQ(PixelAt(*dst, 4, 1), 0xFF0000FEu);
    EXPECT_EQ(PixelAt(*dst, 5, 0), 0xFF000000u);

    auto dst2 = MakeImage(4, 1, 0xFF000000);
    Graphics s(dst2.get());
    s.SetFastStretch(true);
    s.Translate(1, 0);
    s.DrawImage(src.get(), 0, 0, 3, 1);  // stretched form: translated, unscaled
    EXPECT_EQ(PixelAt(*dst2, 0, 0), 0xFF000000u);
    EXPECT_EQ(PixelAt(*dst2, 1, 0), 0xFFFE0000u);
    EXPECT_EQ(PixelAt(*dst2, 3, 0), 0xFF0000FEu);
}

TEST(GraphicsTest, DrawImageCel) {
    auto src = CoordinateImage(4, 4);
    src->columns = 2;
    src->rows = 2;
    struct Case {
        int cel;
        bool drawn;
        uint32_t topLeft;
    };
    for (const Case& c : {Case{0, true, Coord(0, 0)}, Case{1, true, Coord(2, 0)},
                          Case{3, true, Coord(2, 2)}, Case{4, false, 0}, Case{-1, false, 0}}) {
        auto dst = OpaqueTarget(2, 2);
        Graphics g(dst.get());
        g.DrawImageCel(src.get(), 0, 0, c.cel);
        EXPECT_EQ(PixelAt(*dst, 0, 0), c.drawn ? c.topLeft : 0xFF000000u) << "cel " << c.cel;
    }
    auto dst = OpaqueTarget(2, 2);
    Graphics g(dst.get());
    g.DrawImageCel(src.get(), 0, 0, 2, 0);  // column out of range
    g.DrawImageCel(src.get(), 0, 0, 0, -1);
    EXPECT_EQ(PixelAt(*dst, 0, 0), 0xFF000000u);
}

TEST(GraphicsTest, DrawImageBoxNinePatch) {
    auto src = CoordinateImage(6, 6);  // corners 2 x 2, centre 2 x 2
    auto dst = OpaqueTarget(9, 7);
    Graphics g(dst.get());
    g.DrawImageBox(Rect(0, 0, 9, 7), src.get());
    // Corners.
    EXPECT_EQ(PixelAt(*dst, 0, 0), Coord(0, 0));
    EXPECT_EQ(PixelAt(*dst, 8, 0), Coord(5, 0));
    EXPECT_EQ(PixelAt(*dst, 0, 6), Coord(0, 5));
    EXPECT_EQ(PixelAt(*dst, 8, 6), Coord(5, 5));
    // Top edge: pieces at 2, 4, 6 (the last cut at 7).
    EXPECT_EQ(PixelAt(*dst, 2, 0), Coord(2, 0));
    EXPECT_EQ(PixelAt(*dst, 5, 1), Coord(3, 1));
    EXPECT_EQ(PixelAt(*dst, 6, 0), Coord(2, 0));
    EXPECT_EQ(PixelAt(*dst, 7, 0), Coord(4, 0));  // the top-right corner's first column
    // Left edge: pieces at 2, 4 (cut at 5).
    EXPECT_EQ(PixelAt(*dst, 0, 4), Coord(0, 2));
    EXPECT_EQ(PixelAt(*dst, 1, 3), Coord(1, 3));
    // Centre tiles.
    EXPECT_EQ(PixelAt(*dst, 4, 4), Coord(2, 2));
    EXPECT_EQ(PixelAt(*dst, 6, 3), Coord(2, 3));

    auto narrow = OpaqueTarget(4, 4);
    Graphics n(narrow.get());
    n.DrawImageBox(Rect(0, 0, 3, 3), src.get());  // narrower than two corners
    EXPECT_EQ(PixelAt(*narrow, 0, 0), Coord(0, 0));
    EXPECT_EQ(PixelAt(*narrow, 1, 0), Coord(4, 0));  // top-right drawn over top-left
    EXPECT_EQ(PixelAt(*narrow, 2, 2), Coord(5, 5));
    EXPECT_EQ(PixelAt(*narrow, 3, 3), 0xFF000000u);
}

TEST(GraphicsTest, WriteStringColourCodes) {
    std::vector<RecordingFont::Draw> draws;
    RecordingFont font(&draws);
    auto image = MakeImage(200, 20);
    Graphics g(image.get());
    g.SetFont(&font);
    g.SetColor(Color(10, 20, 30, 200));

    EXPECT_EQ(g.WriteString("a^^b", 5, 9, -1, -1), 30);
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].text, "a^b");
    EXPECT_EQ(draws[0].x, 5);
    EXPECT_EQ(draws[0].y, 9);

    draws.clear();
    EXPECT_EQ(g.WriteString("ab^FF0000^cd", 0, 0, -1, -1), 40);
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_EQ(draws[0].text, "ab");
    EXPECT_EQ(draws[0].color, Color(10, 20, 30, 200));
    EXPECT_EQ(draws[1].text, "cd");
    EXPECT_EQ(draws[1].x, 20);
    EXPECT_EQ(draws[1].color, Color(255, 0, 0, 200));
    EXPECT_EQ(g.GetColor(), Color(255, 0, 0, 200));  // the last code's colour stays

    draws.clear();
    g.SetColor(Color(1, 2, 3));
    EXPECT_EQ(g.WriteString("ab^aBxZ9f^c^oldclr^d", 0, 0, -1, -1, true, 0, -1, 0x00405060), 40);
    ASSERT_EQ(draws.size(), 3u);
    EXPECT_EQ(draws[1].color, Color(0xAB, 0x00, 0x9F));  // bad digits count as 0
    EXPECT_EQ(draws[2].color, Color(0x40, 0x50, 0x60));

    draws.clear();
    EXPECT_EQ(g.WriteString("ab^FF00", 0, 0, -1, -1), 20);  // cut-short code ends the text
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].text, "ab");

    draws.clear();
    g.SetWriteColoredString(false);
    EXPECT_EQ(g.WriteString("a^^b", 0, 0, -1, -1), 40);
    g.SetWriteColoredString(true);

    draws.clear();
    g.SetColor(Color(1, 2, 3));
    EXPECT_EQ(g.WriteString("abcd^FF0000^", 0, 0, 100, 0), 40);  // centred: x + 30
    EXPECT_EQ(draws[0].x, 30);
    EXPECT_EQ(draws[0].color, Color(1, 2, 3));  // measuring did not change the colour
    draws.clear();
    EXPECT_EQ(g.WriteString("abcd", 0, 0, 100, 1), 40);  // right-aligned
    EXPECT_EQ(draws[0].x, 60);
    draws.clear();
    EXPECT_EQ(g.WriteString("abcdef", 0, 0, 100, 0, true, 1, 3), 30);  // offset and length
    EXPECT_EQ(draws[0].text, "bcd");
    EXPECT_EQ(draws[0].x, 35);
}

TEST(GraphicsTest, WordWrapping) {
    std::vector<RecordingFont::Draw> draws;
    RecordingFont font(&draws);  // ascent 8, height 10, line spacing 12, 10 px per character
    auto image = MakeImage(200, 200);
    Graphics g(image.get());
    g.SetFont(&font);
    g.SetColor(Color(9, 9, 9));

    struct Case {
        const char* text;
        int width;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"ab cd ef", 35, {"ab", "cd", "ef"}},
        {"ab   cd", 35, {"ab ", "cd"}},      // ends at the last space; later ones are skipped
        {"abcdef", 25, {"ab", "cd", "ef"}},  // no space: cut before the character
        {"abc", 5, {"a", "b", "c"}},         // at least one character per line
        {"ab\ncd", 100, {"ab", "cd"}},       // forced break
        {"a^FF0000^bc d", 35, {"a^FF0000^bc", "d"}},  // codes take no width
    };
    for (const Case& c : cases) {
        draws.clear();
        const int height = g.WriteWordWrapped(Rect(3, 4, c.width, 100), c.text);
        std::vector<std::string> lines;
        std::string joined;
        int lastY = -1;
        for (const auto& d : draws) {
            if (d.y != lastY && lastY != -1) {
                lines.push_back(joined);
                joined.clear();
            }
            joined += d.text;
            lastY = d.y;
        }
        if (!draws.empty()) lines.push_back(joined);
        std::vector<std::string> expectedLines;
        for (const auto& l : c.lines) {
            std::string plain;
            for (size_t i = 0; i < l.size(); ++i) {
                if (l[i] == '^') {
                    i += 7;
                    continue;
                }
                plain += l[i];
            }
            expectedLines.push_back(plain);
        }
        EXPECT_EQ(lines, expectedLines) << c.text;
        ASSERT_FALSE(draws.empty());
        EXPECT_EQ(draws.front().y, 4 + 8) << c.text;  // first baseline: y + ascent
        EXPECT_EQ(draws.front().x, 3);
        const int n = int(c.lines.size());
        EXPECT_EQ(height, 8 + 12 * n + 2 - 12) << c.text;
        EXPECT_EQ(g.GetWordWrappedHeight(c.width, c.text), height) << c.text;
        EXPECT_EQ(g.GetColor(), Color(9, 9, 9)) << "colour restored";
    }
}

TEST(GraphicsTest, WordWrappingSkipsLinesOutsideTheClip) {
    std::vector<RecordingFont::Draw> draws;
    RecordingFont font(&draws);
    auto image = MakeImage(100, 100);
    Graphics g(image.get());
    g.SetFont(&font);
    g.ClipRect(0, 20, 100, 10);  // baselines 8, 20, 32, 44: 20 and 32 (within one spacing)
    g.WriteWordWrapped(Rect(0, 0, 25, 100), "aa bb cc dd");
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_EQ(draws[0].y, 20);
    EXPECT_EQ(draws[1].y, 32);
}

TEST(GraphicsTest, ScreenImageDrawsIntoTheBackEndsBuffer) {
    std::vector<uint32_t> buffer(8 * 3, 0xAAAAAAAA);
    ScreenImage screen(nullptr);
    screen.SetBuffer(buffer.data(), 5, 3, 8 * 4);
    EXPECT_EQ(screen.GetBits(), buffer.data());
    EXPECT_EQ(screen.GetPitch(), 8);
    Graphics g(&screen);
    EXPECT_EQ(g.GetClipRect(), Rect(0, 0, 5, 3));
    g.SetColor(Color(1, 2, 3));
    g.FillRect(-10, -10, 100, 100);
    screen.WritePendingFill();  // as the display does before it reads the buffer
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 8; ++x) {
            EXPECT_EQ(buffer[size_t(y * 8 + x)], x < 5 ? 0xFF010203u : 0xAAAAAAAAu) << x << y;
        }
    }
    // An opaque screen takes the run-length copy path: exact pixels.
    auto src = MakeImage(2, 1, {0xFF123456, 0x00FFFFFF});
    g.DrawImage(src.get(), 1, 1);
    EXPECT_EQ(buffer[8 + 1], 0xFF123456u);
    EXPECT_EQ(buffer[8 + 2], 0xFF010203u);
    EXPECT_FALSE(screen.Palletize());
    MemoryImage copy(screen);  // a copy owns its pixels
    EXPECT_EQ(PixelAt(copy, 1, 1), 0xFF123456u);
    EXPECT_EQ(copy.GetPitch(), 5);

    screen.SetBuffer(nullptr, 5, 3, 20);  // no buffer: an empty image
    EXPECT_EQ(screen.width, 0);
    Graphics empty(&screen);
    empty.FillRect(0, 0, 5, 5);
}

TEST(GraphicsTest, ExtremeCoordinatesDrawNothingOutside) {
    auto src = MakeImage(4, 4, 0xFFFFFFFF);
    auto dst = OpaqueTarget(4, 4);
    Graphics g(dst.get());
    g.SetColor(Color(255, 255, 255));
    g.transX = -3e9f;              // far beyond the int range
    g.FillRect(INT_MAX, 0, 4, 4);  // lands near -0.85e9
    g.DrawImage(src.get(), INT_MIN, 0);
    g.DrawImage(src.get(), Rect(0, 0, INT_MAX, 4), Rect(0, 0, 4, 4));
    g.transX = 0;
    g.DrawImage(src.get(), INT_MIN, INT_MIN);
    g.DrawImage(src.get(), Rect(INT_MIN, 0, INT_MAX, 4), Rect(0, 0, 4, 4));
    g.DrawLine(INT_MIN, INT_MIN, INT_MIN + 5, INT_MIN + 7);
    g.ClipRect(INT_MAX, INT_MAX, INT_MAX, INT_MAX);
    g.FillRect(0, 0, 4, 4);
    EXPECT_EQ(Picture(*dst), "....\n....\n....\n....\n");
}

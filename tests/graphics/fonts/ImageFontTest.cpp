#include "graphics/ImageFont.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "graphics/Graphics.h"
#include "graphics/fonts/FontTestHelpers.h"

namespace Zarvo {
namespace {

const char* const kHeader = "Font Descriptor Error in fonts/test.txt\r\n";

// Two layers drawing the letters A, B and C from a 64 x 16 image: a translucent black shadow one
// pixel down and right (drawn first), and the face.
const char* const kShadowedFont = R"(
SetDefaultPointSize 10;
CreateLayer Shadow;
LayerSetImage Shadow 'glyphs.png';
Define Letters ('A' 'B' 'C');
CreateHorzSpanRectList Rects (0 0 8 10) (8 8 8);
LayerSetImageMap Shadow Letters Rects;
LayerSetCharWidths Shadow Letters (9 9 9);
LayerSetAscent Shadow 8;
LayerSetOffset Shadow (1 1);
LayerSetBaseOrder Shadow -1;
LayerSetColorMult Shadow (0 0 0 128);
CreateLayerFrom Face Shadow;
LayerSetOffset Face (0, 0);
LayerSetBaseOrder Face 0;
LayerSetColorMult Face (255 255 255);
)";

class ImageFontTest : public ::testing::Test {
protected:
    void SetUp() override { glyphs = host.AddImage("fonts/glyphs.png", 64, 16); }

    std::shared_ptr<FontData> Load(const std::string& text) {
        auto data = std::make_shared<FontData>(&host);
        data->LoadFromText("fonts/test.txt", text);
        return data;
    }

    FakeFontHost host;
    MemoryImage* glyphs = nullptr;
};

TEST_F(ImageFontTest, ErrorsNameTheStatementAndItsFirstLine) {
    struct Case {
        const char* text;
        const char* message;  // after the header
    };
    const Case cases[] = {
        {"CreateLayer Main;\nLayerSetHeight\n  Main\n  x;",
         "Unable to Dereference \"x on Line 2:\r\n\r\nLayerSetHeight\n  Main\n  x"},
        {"CreateLayer Main; CreateLayer main;",
         "Layer Already Exists on Line 1:\r\n\r\nCreateLayer main"},
        {"LayerSetHeight Nope 3;", "Undefined Layer on Line 1:\r\n\r\nLayerSetHeight Nope 3"},
        {"CreateLayerFrom A B;", "Undefined Layer on Line 1:\r\n\r\nCreateLayerFrom A B"},
        {"CreateLayer Main;\n\nLayerSetHeight Main;",
         "Invalid Number of Parameters on Line 3:\r\n\r\nLayerSetHeight Main"},
        {"CreateLayer M; LayerSetCharWidths M ('a' 'b') (1);",
         "List Size Mismatch on Line 1:\r\n\r\nLayerSetCharWidths M ('a' 'b') (1)"},
        {"SetCharMap ('a') ('b' 'c');",
         "List Size Mismatch on Line 1:\r\n\r\nSetCharMap ('a') ('b' 'c')"},
        {"CreateLayer M; LayerSetImageMap M ('a') ((0 0 1 1));",
         "Layer image not set on Line 1:\r\n\r\nLayerSetImageMap M ('a') ((0 0 1 1))"},
        {"CreateLayer M; LayerSetImage M 'glyphs.png';\nLayerSetImageMap M ('a') ((60 0 5 1));",
         "Image rectangle out of bounds on Line 2:\r\n\r\nLayerSetImageMap M ('a') ((60 0 5 1))"},
        {"CreateLayer M; LayerSetImage M 'glyphs.png';\nLayerSetImageMap M ('a') ((-1 0 5 1));",
         "Image rectangle out of bounds on Line 2:\r\n\r\nLayerSetImageMap M ('a') ((-1 0 5 1))"},
        {"CreateLayer M; LayerSetImage M 'missing.png';",
         "Failed to Load Image on Line 1:\r\n\r\nLayerSetImage M 'missing.png'"},
        {"CreateLayer M; LayerSetColorMult M (1 2);",
         "Invalid Paramater Type on Line 1:\r\n\r\nLayerSetColorMult M (1 2)"},
        {"CreateLayer M; LayerSetCharWidths M ('ab') (1);",
         "Invalid Paramater Type on Line 1:\r\n\r\nLayerSetCharWidths M ('ab') (1)"},
        {"CreateLayer M; LayerSetKerningPairs M ('a') (1);",
         "Invalid Paramater Type on Line 1:\r\n\r\nLayerSetKerningPairs M ('a') (1)"},
        {"CreateLayer M; LayerSetOffset M 4;",
         "Invalid Paramater Type on Line 1:\r\n\r\nLayerSetOffset M 4"},
        {"Bogus;", "Unknown Command on Line 1:\r\n\r\nBogus"},
        {"Define Name 'open;", "Unterminated Single Quotes on Line 1:\r\n\r\nDefine Name 'open;"},
    };
    for (const Case& c : cases) {
        FakeFontHost errorHost;
        errorHost.AddImage("fonts/glyphs.png", 64, 16);
        FontData data(&errorHost);
        EXPECT_FALSE(data.LoadFromText("fonts/test.txt", c.text)) << c.text;
        EXPECT_FALSE(data.initialized);
        EXPECT_EQ(data.GetErrorText(), std::string(kHeader) + c.message) << c.text;
        ASSERT_EQ(errorHost.shownErrors.size(), 1u) << c.text;
        EXPECT_EQ(errorHost.shownErrors[0], data.GetErrorText());
    }
}

TEST_F(ImageFontTest, UninitializedFontMeasuresAndDrawsNothing) {
    ImageFont font(Load("Bogus;"));
    EXPECT_FALSE(font.IsInitialized());
    EXPECT_EQ(font.StringWidth("ABC"), 0);
    RecordingImage target(100, 50);
    Graphics g(&target);
    int width = -1;
    font.DrawStringEx(&g, 0, 20, "ABC", Color::White, g.GetClipRect(), nullptr, &width);
    EXPECT_TRUE(target.blits.empty());
    EXPECT_EQ(width, 0);
}

TEST_F(ImageFontTest, ShadowLayerDrawsBeforeFaceLayerWithItsOwnColour) {
    ImageFont font(Load(kShadowedFont));
    ASSERT_TRUE(font.IsInitialized()) << font.fontData->GetErrorText();
    EXPECT_EQ(host.requests, std::vector<std::string>{"fonts/glyphs.png"});

    RecordingImage target(100, 50);
    Graphics g(&target);
    g.SetColor(Color(1, 2, 3, 4));
    int width = 0;
    font.DrawStringEx(&g, 10, 20, "AB", Color(255, 255, 255, 200), g.GetClipRect(), nullptr,
                      &width);
    EXPECT_EQ(width, 18);
    ASSERT_EQ(target.blits.size(), 4u);
    // Shadow: offset (1, 1); y = baseline - (ascent - offset y) = 20 - (8 - 1).
    const Color shadow(0, 0, 0, 128 * 200 / 255);
    const Color face(255, 255, 255, 200);
    struct Expected {
        int x, y;
        Rect source;
        Color color;
    };
    const Expected expected[] = {
        {11, 13, Rect(0, 0, 8, 10), shadow},
        {20, 13, Rect(8, 0, 8, 10), shadow},
        {10, 12, Rect(0, 0, 8, 10), face},
        {19, 12, Rect(8, 0, 8, 10), face},
    };
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(target.blits[i].image, glyphs);
        EXPECT_EQ(target.blits[i].x, expected[i].x) << i;
        EXPECT_EQ(target.blits[i].y, expected[i].y) << i;
        EXPECT_EQ(target.blits[i].source, expected[i].source) << i;
        EXPECT_EQ(target.blits[i].color, expected[i].color) << i;
    }
    // The context's colour and colorize flag are restored.
    EXPECT_EQ(g.GetColor(), Color(1, 2, 3, 4));
    EXPECT_FALSE(g.GetColorizeImages());
}

TEST_F(ImageFontTest, KerningMovesDrawingAndWidthAlike) {
    ImageFont font(Load(R"(
CreateLayer Face;
LayerSetImage Face 'glyphs.png';
LayerSetImageMap Face ('A' 'B') ((0 0 8 10) (8 0 8 10));
LayerSetCharWidths Face ('A' 'B') (9 9);
LayerSetKerningPairs Face ('AB') (-2);
LayerSetSpacing Face 1;
)"));
    ASSERT_TRUE(font.IsInitialized()) << font.fontData->GetErrorText();
    // A, then B pulled in by 2 and pushed out by the spacing 1, then A after B with spacing only.
    EXPECT_EQ(font.StringWidth("ABA"), 9 + (9 - 2 + 1) + (9 + 1));
    EXPECT_EQ(font.CharWidthKern('B', 'A'), 8);
    EXPECT_EQ(font.CharWidth('B'), 9);

    RecordingImage target(100, 50);
    Graphics g(&target);
    std::vector<Rect> rects;
    int width = 0;
    font.DrawStringEx(&g, 0, 20, "ABA", Color::White, g.GetClipRect(), &rects, &width);
    EXPECT_EQ(width, font.StringWidth("ABA"));
    ASSERT_EQ(rects.size(), 3u);
    EXPECT_EQ(rects[0].x, 0);
    EXPECT_EQ(rects[1].x, 8);
    EXPECT_EQ(rects[2].x, 18);
}

TEST_F(ImageFontTest, LayerOutsidePointRangeNeitherDrawsNorCounts) {
    const char* text = R"(
SetDefaultPointSize 10;
CreateLayer Face;
LayerSetImage Face 'glyphs.png';
LayerSetImageMap Face ('A') ((0 0 8 10));
LayerSetCharWidths Face ('A') (9);
LayerSetAscent Face 8;
CreateLayerFrom Big Face;
LayerPointRange Big 12 20;
LayerSetAscent Big 30;
LayerSetHeight Big 40;
LayerSetCharWidths Big ('A') (25);
)";
    ImageFont font(Load(text));
    ASSERT_TRUE(font.IsInitialized()) << font.fontData->GetErrorText();
    EXPECT_EQ(font.GetAscent(), 8);
    EXPECT_EQ(font.GetHeight(), 10);  // the default height from the image map
    EXPECT_EQ(font.CharWidth('A'), 9);
    RecordingImage target(100, 50);
    Graphics g(&target);
    font.DrawString(&g, 0, 20, "A", Color::White, g.GetClipRect());
    EXPECT_EQ(target.blits.size(), 1u);

    // The metrics follow the new size at once.
    font.SetPointSize(12);
    EXPECT_EQ(font.GetAscent(), 30);
    EXPECT_EQ(font.GetHeight(), 40);
    EXPECT_EQ(font.GetDescent(), 10);
    EXPECT_EQ(font.CharWidth('A'), 25);
    font.SetPointSize(21);
    EXPECT_EQ(font.CharWidth('A'), 9);
}

TEST_F(ImageFontTest, TagsSelectLayersAndRemovingRestores) {
    ImageFont font(Load(R"(
CreateLayer Plain; LayerExcludeTags Plain ('bold');
CreateLayer Heavy; LayerRequireTags Heavy ('Bold' 'big');
CreateLayer Always;
)"));
    ASSERT_TRUE(font.IsInitialized()) << font.fontData->GetErrorText();
    auto active = [&font]() {
        font.Prepare();
        std::vector<FontLayer*> layers;
        for (const ActiveFontLayer& a : font.activeLayerList) layers.push_back(a.baseFontLayer);
        return layers;
    };
    FontData& data = *font.fontData;
    const auto initial = active();
    EXPECT_EQ(initial, (std::vector<FontLayer*>{data.GetLayer("PLAIN"), data.GetLayer("always")}));

    EXPECT_TRUE(font.AddTag("bold"));
    EXPECT_FALSE(font.AddTag("BOLD"));
    EXPECT_TRUE(font.HasTag("Bold"));
    EXPECT_EQ(active(), std::vector<FontLayer*>{data.GetLayer("always")});
    EXPECT_TRUE(font.AddTag("big"));
    EXPECT_EQ(active(), (std::vector<FontLayer*>{data.GetLayer("heavy"), data.GetLayer("always")}));

    EXPECT_TRUE(font.RemoveTag("BIG"));
    EXPECT_TRUE(font.RemoveTag("bold"));
    EXPECT_FALSE(font.RemoveTag("bold"));
    EXPECT_EQ(active(), initial);
}

TEST_F(ImageFontTest, DuplicateSharesDataButNotState) {
    ImageFont font(Load(kShadowedFont));
    std::unique_ptr<Font> copy = font.Duplicate();
    auto* imageCopy = dynamic_cast<ImageFont*>(copy.get());
    ASSERT_NE(imageCopy, nullptr);
    EXPECT_EQ(imageCopy->fontData, font.fontData);
    EXPECT_EQ(font.fontData.use_count(), 2);

    imageCopy->SetPointSize(20);
    imageCopy->AddTag("x");
    EXPECT_EQ(font.GetPointSize(), 10);
    EXPECT_FALSE(font.HasTag("x"));
    EXPECT_EQ(font.StringWidth("AB"), 18);
    copy.reset();
    EXPECT_EQ(font.fontData.use_count(), 1);
}

TEST_F(ImageFontTest, LayerPointSizeScalesRectanglesMetricsAndWidths) {
    ImageFont font(Load(std::string(kShadowedFont) + "LayerSetPointSize Face 10;"));
    ASSERT_TRUE(font.IsInitialized()) << font.fontData->GetErrorText();
    font.SetPointSize(15);  // the face is drawn at 15 / 10 of its size; the shadow unscaled
    font.Prepare();
    ASSERT_EQ(font.activeLayerList.size(), 2u);
    const ActiveFontLayer& shadow = font.activeLayerList[0];
    const ActiveFontLayer& face = font.activeLayerList[1];
    EXPECT_FALSE(shadow.ownsImage);
    EXPECT_EQ(shadow.scaledCharImageRects['B'], Rect(8, 0, 8, 10));
    ASSERT_TRUE(face.ownsImage);
    // Characters side by side in code order: A at 0, B after it, each 12 x 15.
    EXPECT_EQ(face.scaledCharImageRects['A'], Rect(0, 0, 12, 15));
    EXPECT_EQ(face.scaledCharImageRects['B'], Rect(12, 0, 12, 15));
    EXPECT_EQ(face.image->GetWidth(), 36);
    EXPECT_EQ(face.image->GetHeight(), 15);
    EXPECT_EQ(font.GetAscent(), 12);             // trunc(8 x 1.5)
    EXPECT_EQ(font.GetHeight(), 15);             // trunc(10 x 1.5)
    EXPECT_EQ(font.StringWidth("AB"), 13 + 13);  // trunc(9 x 1.5) per letter
}

TEST_F(ImageFontTest, ScaledWidthsMultiplyBeforeDividingInMeasureAndDraw) {
    // 11 units at 15 points of a layer made for 11 points: 11 x 15 / 11 = 15 exactly (the factor
    // 15 / 11 first would give 14.999... and so 14).
    ImageFont font(Load(R"(
CreateLayer Face;
LayerSetImage Face 'glyphs.png';
LayerSetImageMap Face ('A') ((0 0 8 10));
LayerSetCharWidths Face ('A') (11);
LayerSetPointSize Face 11;
)"));
    ASSERT_TRUE(font.IsInitialized()) << font.fontData->GetErrorText();
    font.SetPointSize(15);
    EXPECT_EQ(font.CharWidth('A'), 15);
    RecordingImage target(100, 50);
    Graphics g(&target);
    std::vector<Rect> rects;
    int width = 0;
    font.DrawStringEx(&g, 0, 20, "AA", Color::White, g.GetClipRect(), &rects, &width);
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_EQ(rects[1].x, 15);
    EXPECT_EQ(width, 30);
    EXPECT_EQ(font.StringWidth("AA"), 30);
}

TEST_F(ImageFontTest, DrawPoolLimitsLongStrings) {
    ImageFont font(Load(R"(
CreateLayer Face;
LayerSetImage Face 'glyphs.png';
LayerSetImageMap Face ('A') ((0 0 1 1));
LayerSetCharWidths Face ('A') (2);
)"));
    RecordingImage target(10, 10);
    Graphics g(&target);
    std::vector<Rect> rects;
    int width = 0;
    font.DrawStringEx(&g, 0, 5, std::string(5000, 'A'), Color::White, g.GetClipRect(), &rects,
                      &width);
    EXPECT_EQ(rects.size(), 4096u);
    EXPECT_EQ(width, 4096 * 2);
}

TEST_F(ImageFontTest, CharMapTranslatesBeforeLookup) {
    ImageFont font(Load(std::string(kShadowedFont) + "SetCharMap ('a' 'b') ('A' 'B');"));
    EXPECT_EQ(font.StringWidth("ab"), 18);
    EXPECT_EQ(font.StringWidth("xy"), 0);
}

TEST_F(ImageFontTest, LoadsDescriptorFileAndNamesItInErrors) {
    const auto dir = std::filesystem::temp_directory_path() / "kelvane_imagefont_test";
    std::filesystem::create_directories(dir);
    const std::string good = (dir / "good.txt").string();
    const std::string bad = (dir / "bad.txt").string();
    std::ofstream(good) << kShadowedFont;
    std::ofstream(bad) << "CreateLayer A;\r\nCreateLayer A;\r\n";
    host.AddImage((dir / "glyphs.png").string(), 64, 16);

    ImageFont font(&host, good);
    EXPECT_TRUE(font.IsInitialized()) << font.fontData->GetErrorText();
    EXPECT_EQ(font.GetPointSize(), 10);
    EXPECT_EQ(font.GetDefaultPointSize(), 10);

    ImageFont broken(&host, bad);
    EXPECT_FALSE(broken.IsInitialized());
    EXPECT_EQ(broken.fontData->GetErrorText(), "Font Descriptor Error in " + bad +
                                                   "\r\nLayer Already Exists on Line 2:\r\n\r\n" +
                                                   "CreateLayer A");

    ImageFont missing(&host, (dir / "none.txt").string());
    EXPECT_FALSE(missing.IsInitialized());
    std::filesystem::remove_all(dir);
}

TEST_F(ImageFontTest, DefinesAreReadable) {
    ImageFont font(Load("Define Greeting 'hello'; Define Pair (1 2);"));
    EXPECT_EQ(font.GetDefine("greeting"), "hello");
    EXPECT_EQ(font.GetDefine("PAIR"), "");
    EXPECT_EQ(font.GetDefine("none"), "");
}

TEST(ImageFontLegacyTest, WidthFileFontWithCaseFallback) {
    const auto path = std::filesystem::temp_directory_path() / "kelvane_widths_test.txt";
    std::ofstream(path) << "4 10\na 5\nb 6\nC 7\n";
    MemoryImage image(nullptr);
    image.Create(30, 12);
    ImageFont font(&image, path.string());
    std::filesystem::remove(path);
    ASSERT_TRUE(font.IsInitialized());
    EXPECT_EQ(font.GetAscent(), 10);
    EXPECT_EQ(font.GetHeight(), 12);
    EXPECT_EQ(font.StringWidth("Ab c"), 5 + 6 + 4 + 7);

    RecordingImage target(100, 50);
    Graphics g(&target);
    font.DrawString(&g, 0, 20, "bC", Color::White, g.GetClipRect());
    ASSERT_EQ(target.blits.size(), 2u);
    EXPECT_EQ(target.blits[0].source, Rect(5, 0, 6, 12));
    EXPECT_EQ(target.blits[1].source, Rect(11, 0, 7, 12));
    EXPECT_EQ(target.blits[1].x, 6);
    EXPECT_EQ(target.blits[1].y, 10);  // baseline 20 - ascent 10
}

// Descriptors at each bound load; one element, define, layer or tag more is refused.
TEST_F(ImageFontTest, DescriptorsBeyondTheirBoundsAreRefused) {
    // A list of `count` numbers, and `count` statements differing in the number they end with.
    auto numbers = [](size_t count) {
        std::string text = "(";
        for (size_t i = 0; i < count; ++i) text += " 1" + std::to_string(i);
        return text + ")";
    };
    auto statements = [](size_t count, const std::string& before, const std::string& after) {
        std::string text;
        for (size_t i = 0; i < count; ++i) text += before + std::to_string(i) + after + ";";
        return text;
    };
    // "Define L (...)" holds the command, the name, the list and its elements.
    const size_t statementRoom = DescParser::kMaxListElements - 3;
    // Each copy of Big takes 60001 of the elements all defines may hold together.
    const std::string big = "Define Big " + numbers(60000) + ";";
    const size_t copies = DescParser::kMaxDefinedElements / 60001;
    const std::string tags = "CreateLayer L; LayerRequireTags L ";
    struct Case {
        const char* what;
        std::string text;
        bool loads;
    };
    const Case cases[] = {
        {"statement at the bound", "Define L " + numbers(statementRoom) + ";", true},
        {"statement over the bound", "Define L " + numbers(statementRoom + 1) + ";", false},
        {"defines within the bound", big + statements(copies - 1, "Define C", " Big"), true},
        {"defines over the bound", big + statements(copies, "Define C", " Big"), false},
        {"redefining frees the old value", big + statements(copies * 2, "Define Big Big\n#", "\n"),
         true},
        {"layers at the bound", statements(FontData::kMaxLayers, "CreateLayer L", ""), true},
        {"layers over the bound", statements(FontData::kMaxLayers + 1, "CreateLayer L", ""), false},
        {"tags at the bound", tags + numbers(FontData::kMaxLayerTags) + ";", true},
        {"tags over the bound",
         tags + numbers(FontData::kMaxLayerTags - 1) + "; LayerRequireTags L (1 2);", false},
    };
    for (const Case& c : cases) {
        auto data = Load(c.text);
        EXPECT_EQ(data->initialized, c.loads) << c.what;
        if (!c.loads) {
            EXPECT_NE(data->GetErrorText().find("Too Many Elements on Line 1"), std::string::npos)
                << c.what << ": " << data->GetErrorText().substr(0, 200);
        }
    }
}

}  // namespace
}  // namespace Zarvo

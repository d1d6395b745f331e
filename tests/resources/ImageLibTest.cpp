#include "resources/ImageLib.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "files/PakBuilder.h"
#include "files/PakInterface.h"
#include "files/TempDir.h"
#include "graphics/Color.h"
#include "graphics/MemoryImage.h"
#include "graphics/Rect.h"
#include "resources/ImageFixtures.h"

using namespace Zarvo;

namespace {

std::vector<uint8_t> Fixture(const std::string& name) {
    std::ifstream in(FixturePath(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Images of distinct sizes tell which file a load picked.
std::vector<uint8_t> TgaOfSize(int w, int h, uint32_t pixel) {
    return MakeTga(w, h, std::vector<uint32_t>(size_t(w) * h, pixel));
}

class ImageLibTest : public ::testing::Test {
protected:
    void SetUp() override { dir.Enter(); }
    void TearDown() override { ImageLib::SetAlphaColor(0xFFFFFF); }

    static int Width(const std::unique_ptr<DecodedImage>& image) {
        return image ? image->width : -1;
    }
    TempDir dir;
};

TEST_F(ImageLibTest, ChoosesTheDecoderByExtensionOrOrder) {
    dir.Write("img/ball.png", Fixture("rgba.png"));  // 4 wide
    dir.Write("img/ball.jpg", Fixture("quad.jpg"));  // 16 wide
    dir.Write("img/flag.gif", Fixture("quad.gif"));  // 16 wide
    dir.Write("img/card.tga", TgaOfSize(3, 1, 0xFF123456));
    dir.Write("img/card.png", Fixture("rgba.png"));
    dir.Write("img/map.j2k", Fixture("quad.j2k"));
    dir.Write("img/plain.bmp", Fixture("rgba.png"));
    dir.Write("img.d/pitch.png", Fixture("rgba.png"));
    struct Case {
        const char* name;
        int width;  // -1: no image
    } cases[] = {
        {"img/ball", 16},                        // JPEG comes before PNG
        {"img/ball.png", 4},                     // an extension tries only its own format
        {"img/ball.PNG", 4},                     // compared without regard to case, tried as ".png"
        {"img/ball.jpg", 16},  {"img/card", 3},  // TGA first of all
        {"img/flag", 16},      {"img/map", 16},  // JPEG 2000 after the others
        {"img/plain.bmp", -1},                   // not in the list
        {"img/plain", -1},     {"img.d/pitch", 4},  // a dot in a folder name is no extension
        {"img\\ball.png", 4},  {"img/none", -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Width(ImageLib::GetImage(c.name, false)), c.width) << c.name;
}

TEST_F(ImageLibTest, CompanionAlphaFiles) {
    const uint32_t colour = 0xFF102030;
    dir.Write("img/ball.tga", TgaOfSize(2, 1, colour));
    dir.Write("img/_ball.tga", MakeTga(2, 1, {0xFF0000AB, 0x12345678}));  // blue 0xAB, 0x78
    auto image = ImageLib::GetImage("img/ball.tga", true);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->bits[0], 0xAB102030u);
    EXPECT_EQ(image->bits[1], 0x78102030u);
    // Without looking for alpha the file's own alpha stays.
    EXPECT_EQ(ImageLib::GetImage("img/ball.tga", false)->bits[0], colour);

    // An alpha file of another size is ignored.
    dir.Write("img/wide.tga", TgaOfSize(2, 1, colour));
    dir.Write("img/_wide.tga", TgaOfSize(3, 1, 0xFF000000));
    EXPECT_EQ(ImageLib::GetImage("img/wide.tga", true)->bits[1], colour);

    // The name + "_" is the second place looked at.
    dir.Write("img/flag.tga", TgaOfSize(1, 1, colour));
    dir.Write("img/flag_.tga", TgaOfSize(1, 1, 0xFFFFFF40));
    EXPECT_EQ(ImageLib::GetImage("img/flag", true)->bits[0], 0x40102030u);

    // Only the alpha file: the alpha colour with its blue channel as alpha.
    dir.Write("img/_glow.png", Fixture("rgba.png"));
    ImageLib::SetAlphaColor(0x00FF00);
    image = ImageLib::GetImage("img/glow.png", true);
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(image->width, 4);
    EXPECT_EQ(image->bits[0], 0x0000FF00u);  // red: blue 0
    EXPECT_EQ(image->bits[2], 0xFF00FF00u);  // blue 0xFF
    EXPECT_EQ(image->bits[5], 0x5600FF00u);  // (18, 52, 86): blue 0x56
    ImageLib::SetAlphaColor(0xFFFFFF);
    EXPECT_EQ(ImageLib::GetImage("img/glow.png", true)->bits[5], 0x56FFFFFFu);
    EXPECT_EQ(ImageLib::GetImage("img/glow.png", false), nullptr);
}

// Every format loads from the pack file into memory images with the same pixels as from the
// loose files.
TEST_F(ImageLibTest, LoadsEveryFormatThroughTheArchive) {
    const char* files[] = {"rgba.png",
                           "rgba_interlaced.png",
                           "rgba16.png",
                           "quad_palette.png",
                           "grey2.png",
                           "quad.jpg",
                           "grey.jpg",
                           "quad.gif",
                           "quad_interlaced.gif",
                           "quad.jp2",
                           "quad.j2k"};
    for (const char* f : files) dir.Write(std::string("loose/images/") + f, Fixture(f));
    dir.Write("loose/images/card.tga", TgaOfSize(5, 3, 0x80FF8040));
    dir.Write("loose/images/_card.tga", TgaOfSize(5, 3, 0xFF0000C0));

    PakBuilder builder;
    ASSERT_TRUE(builder.AddFolder("loose"));
    dir.Write("main.pak", builder.Build());
    PakInterface pak;
    ASSERT_TRUE(pak.AddPakFile("main.pak"));

    std::vector<std::string> names(std::begin(files), std::end(files));
    names.push_back("card.tga");
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        auto packed = ImageLib::LoadMemoryImage("Images\\" + name);
        auto loose = ImageLib::LoadMemoryImage("loose/images/" + name);
        ASSERT_NE(packed, nullptr);
        ASSERT_NE(loose, nullptr);
        EXPECT_EQ(packed->filePath, "Images\\" + name);
        ASSERT_EQ(packed->width, loose->width);
        ASSERT_EQ(packed->height, loose->height);
        const uint32_t* a = packed->GetBits();
        const uint32_t* b = loose->GetBits();
        ASSERT_NE(a, nullptr);
        EXPECT_TRUE(std::equal(a, a + packed->width * packed->height, b));
    }
    // The companion alpha file came out of the archive too.
    auto card = ImageLib::LoadMemoryImage("images/card.tga");
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(card->GetBits()[0], 0xC0FF8040u);
    // Nothing loose stands in for the archive: the loose copy is gone, the image still loads.
    std::filesystem::remove_all("loose");
    EXPECT_NE(ImageLib::LoadMemoryImage("images/quad"), nullptr);
}

// A loaded image draws: opaque pixels replace the destination, transparent ones leave it.
TEST_F(ImageLibTest, LoadedImagesDraw) {
    GifSpec g;
    g.width = 2;
    g.height = 2;
    g.globalTable = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
    g.minCodeSize = 2;
    g.transparent = 3;
    g.indices = {0, 1, 2, 3};
    PakBuilder builder;
    builder.AddFile("images\\marks.gif", MakeGif(g));
    dir.Write("main.pak", builder.Build());
    PakInterface pak;
    ASSERT_TRUE(pak.AddPakFile("main.pak"));

    auto source = ImageLib::LoadMemoryImage("images/marks");
    ASSERT_NE(source, nullptr);
    MemoryImage target(nullptr);
    const std::vector<uint32_t> grey(9, 0xFF808080);
    target.SetBits(grey.data(), 3, 3);
    target.Blt(source.get(), 1, 1, Rect(0, 0, 2, 2), Color::White, 0);
    const uint32_t* p = target.GetBits();
    ASSERT_NE(p, nullptr);
    const std::vector<uint32_t> expected = {0xFF808080, 0xFF808080, 0xFF808080,
                                            0xFF808080, 0xFFFF0000, 0xFF00FF00,
                                            0xFF808080, 0xFF0000FF, 0xFF808080};
    EXPECT_EQ(std::vector<uint32_t>(p, p + 9), expected);
}

}  // namespace

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "files/PakBuilder.h"
#include "files/PakInterface.h"
#include "graphics/Graphics.h"
#include "graphics/ImageFont.h"
#include "graphics/MemoryImage.h"
#include "graphics/SysFont.h"
#include "resources/ResourceManager.h"
#include "resources/StandaloneResourceHost.h"
#include "resources/manager/FakeSoundManager.h"

namespace Zarvo {
namespace {

namespace fs = std::filesystem;

// The manifest, a font descriptor and images of every format, served from a pack file only
// (the working directory holds none of them as loose files).
class PackLoadingTest : public ::testing::Test {
protected:
    void SetUp() override {
        PakBuilder builder;
        ASSERT_TRUE(
            builder.AddFolder(std::string(KELVANE_SOURCE_DIR) + "/tests/resources/manager/data"));
        pakPath = (fs::temp_directory_path() / "kelvane_resmgr_pack.pak").string();
        std::vector<uint8_t> bytes = builder.Build();
        std::ofstream(pakPath, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        ASSERT_EQ(PakInterface::Instance(), &pak);
        ASSERT_TRUE(pak.AddPakFile(pakPath));
        ASSERT_FALSE(fs::exists("resources.xml"));
    }
    void TearDown() override { fs::remove(pakPath); }

    PakInterface pak;
    std::string pakPath;
    FakeSoundManager sounds;
    StandaloneResourceHost host{&sounds};
    ResourceManager manager{&host};
};

uint32_t PixelAt(MemoryImage& image, int x, int y) {
    return image.GetBits()[y * image.GetWidth() + x];
}

// Opaque white as the blend arithmetic leaves it (255 x 255 / 256 is 254).
bool IsWhite(uint32_t p) {
    return (p >> 24) == 0xFF && (p & 0xFEFEFE) == 0xFEFEFE;
}

TEST_F(PackLoadingTest, LoadsEveryKindByGroupAndDrawsText) {
    ASSERT_TRUE(manager.ParseResourcesFile("resources.xml")) << manager.GetErrorText();
    ASSERT_TRUE(manager.LoadResources("Init")) << manager.GetErrorText() << host.GetLastFontError();

    manager.StartLoadResources("Game");
    int steps = 0;
    while (manager.LoadNextResource()) ++steps;
    ASSERT_FALSE(manager.HadError()) << manager.GetErrorText();
    EXPECT_EQ(steps, manager.GetNumResources("Game"));
    EXPECT_EQ(steps, 5);

    // PNG with a separate alpha image: red, alpha from the alpha image's blue channel.
    MemoryImage* ball = manager.GetImageThrow("IMAGE_ball");
    EXPECT_EQ(PixelAt(*ball, 0, 0), 0x00FF0000u);
    EXPECT_EQ(PixelAt(*ball, 3, 1), 0x60FF0000u);
    // TGA found without an extension (TGA is tried first).
    EXPECT_EQ(PixelAt(*manager.GetImageThrow("IMAGE_card"), 2, 2), 0xFFFFFF00u);
    // JPEG: opaque and green (lossy, so only roughly).
    const uint32_t pitch = PixelAt(*manager.GetImageThrow("IMAGE_pitch"), 4, 4);
    EXPECT_EQ(pitch >> 24, 0xFFu);
    EXPECT_GT((pitch >> 8) & 0xFF, 0x70u);
    EXPECT_LT((pitch >> 16) & 0xFF, 0x20u);
    MemoryImage* flag = manager.GetImageThrow("IMAGE_flag");
    EXPECT_EQ(PixelAt(*flag, 1, 1), 0xFF0000FFu);
    ASSERT_NE(flag->animInfo, nullptr);
    EXPECT_EQ(flag->animInfo->totalAnimTime, 40);
    // The default path of the section applies to sounds as well.
    EXPECT_EQ(sounds.sounds[manager.GetSoundThrow("SOUND_KICK")], "images/sounds\\kick");

    // "HI" at baseline 12 from x 2: the face's H fills columns 2 and 7 from row 2; its shadow
    // lies one pixel right and down, under the face.
    MemoryImage target(nullptr);
    target.Create(40, 20);
    Graphics g(&target);
    Font* main = manager.GetFontThrow("FONT_MAIN");
    main->DrawString(&g, 2, 12, "hI!", Color::White, g.GetClipRect());
    EXPECT_TRUE(IsWhite(PixelAt(target, 2, 2)));    // face, H left stem
    EXPECT_EQ(PixelAt(target, 8, 3), 0xFF000000u);  // shadow of the right stem
    EXPECT_TRUE(IsWhite(PixelAt(target, 3, 6)));    // face bar over the shadow
    EXPECT_EQ(PixelAt(target, 2, 1), 0u);           // above the text
    EXPECT_EQ(main->StringWidth("hI!"), 21);

    // The "flat" copy has no shadow layer.
    target.Clear();
    manager.GetFontThrow("FONT_FLAT")->DrawString(&g, 2, 12, "H", Color::White, g.GetClipRect());
    EXPECT_EQ(PixelAt(target, 8, 3), 0u);

    auto* sys = dynamic_cast<SysFont*>(manager.GetFontThrow("FONT_SYS"));
    ASSERT_NE(sys, nullptr);
    target.Clear();
    sys->DrawString(&g, 1, 15, "Go", Color(255, 255, 0), g.GetClipRect());
    int covered = 0;
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 40; ++x) covered += (PixelAt(target, x, y) >> 24) != 0;
    }
    EXPECT_GT(covered, 20);
}

}  // namespace
}  // namespace Zarvo

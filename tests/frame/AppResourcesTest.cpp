// The resource manager of the real application object: its images come from the
// application's shared-image table, and "noalpha" keeps companion alpha files out.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "TestApp.h"
#include "graphics/MemoryImage.h"
#include "resources/ResourceManager.h"

namespace {

namespace fs = std::filesystem;

// A 1x1 top-left-origin 32-bit TGA of one pixel 0xAARRGGBB.
void WriteTga(const std::string& path, uint32_t pixel) {
    unsigned char file[22] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 32, 0x28};
    file[18] = static_cast<unsigned char>(pixel);
    file[19] = static_cast<unsigned char>(pixel >> 8);
    file[20] = static_cast<unsigned char>(pixel >> 16);
    file[21] = static_cast<unsigned char>(pixel >> 24);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file), sizeof file);
}

TEST(AppResources, NoAlphaKeepsTheCompanionAlphaFileOutOfTheApplicationsImages) {
    const fs::path dir = fs::temp_directory_path() / "kelvane_app_noalpha";
    fs::remove_all(dir);
    fs::create_directories(dir);
    // Two opaque red images, each with a companion alpha file whose blue channel is 0x40.
    for (const char* name : {"with", "without"}) {
        WriteTga((dir / (std::string(name) + ".tga")).string(), 0xFFFF0000);
        WriteTga((dir / ("_" + std::string(name) + ".tga")).string(), 0xFF000040);
    }
    const std::string manifest = (dir / "resources.xml").string();
    std::ofstream(manifest) << "<ResourceManifest>\n<Resources id=\"G\">\n"
                            << "<Image id=\"WITH\" path=\"" << (dir / "with.tga").string()
                            << "\"/>\n<Image id=\"WITHOUT\" path=\""
                            << (dir / "without.tga").string() << "\" noalpha=\"\"/>\n"
                            << "</Resources>\n</ResourceManifest>\n";

    ZarvoTest::TestApp app;
    Zarvo::ResourceManager& resources = *app.GetResourceManager();
    ASSERT_TRUE(resources.ParseResourcesFile(manifest));
    ASSERT_TRUE(resources.LoadResources("G"));
    const Zarvo::SharedImageRef with = resources.GetImageThrow("WITH");
    const Zarvo::SharedImageRef without = resources.GetImageThrow("WITHOUT");
    ASSERT_NE(with.Get(), nullptr);
    ASSERT_NE(without.Get(), nullptr);
    EXPECT_EQ(with.Get()->GetBits()[0], 0x40FF0000u);
    EXPECT_EQ(without.Get()->GetBits()[0], 0xFFFF0000u);
    // Both live in the application's own table, and later loads look for alpha again.
    EXPECT_EQ(app.GetSharedImageTable().Size(), 2u);
    EXPECT_TRUE(app.autoFindAlpha);
    fs::remove_all(dir);
}

// The application with its error popups recorded.
struct PopupApp : ZarvoTest::TestApp {
    std::vector<std::string> popups;
    void Popup(const std::string& text) override { popups.push_back(text); }
};

TEST(AppResources, SoundsGoToTheApplicationsSoundManagerAndFontErrorsToItsPopup) {
    const fs::path dir = fs::temp_directory_path() / "kelvane_app_host";
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string bad = (dir / "bad.txt").string();
    std::ofstream(bad) << "Bogus;";
    const std::string manifest = (dir / "resources.xml").string();
    std::ofstream(manifest) << "<ResourceManifest><Resources id=\"G\"><Sound path=\"no-kick\"/>"
                            << "</Resources><Resources id=\"F\"><Font path=\"" << bad
                            << "\"/></Resources></ResourceManifest>";
    PopupApp app;
    app.InitAndLoad();
    Zarvo::ResourceManager& resources = *app.GetResourceManager();
    ASSERT_TRUE(resources.ParseResourcesFile(manifest)) << resources.GetErrorText();
    // The sound reached a sound manager (without one it would be "Out of free sound ids").
    EXPECT_FALSE(resources.LoadResources("G"));
    EXPECT_EQ(resources.GetErrorText(), "Failed to load sound: no-kick");
    PopupApp other;
    ASSERT_TRUE(other.GetResourceManager()->ParseResourcesFile(manifest));
    EXPECT_FALSE(other.GetResourceManager()->LoadResources("F"));
    EXPECT_TRUE(app.popups.empty());
    ASSERT_EQ(other.popups.size(), 1u);
    EXPECT_EQ(other.popups[0],
              "Font Descriptor Error in " + bad + "\r\nUnknown Command on Line 1:\r\n\r\nBogus");
    fs::remove_all(dir);
}

}  // namespace

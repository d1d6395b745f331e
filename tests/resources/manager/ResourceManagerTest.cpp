#include "resources/ResourceManager.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "graphics/ImageFont.h"
#include "graphics/SysFont.h"
#include "resources/ResourceManagerException.h"
#include "resources/manager/FakeResourceHost.h"

namespace Zarvo {
namespace {

namespace fs = std::filesystem;

class ResourceManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = (fs::temp_directory_path() /
               ("kelvane_resmgr_" +
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name())))
                  .string();
        fs::create_directories(dir);
        manifest = dir + "/resources.xml";
    }
    void TearDown() override { fs::remove_all(dir); }

    void WriteFile(const std::string& name, const std::string& text) {
        std::ofstream(dir + "/" + name, std::ios::binary) << text;
    }
    // A manifest with one section "G" whose body starts on line 3.
    bool ParseSection(const std::string& body) {
        WriteFile("resources.xml", "<ResourceManifest>\n<Resources id=\"G\">\n" + body +
                                       "\n</Resources>\n</ResourceManifest>\n");
        return manager.ParseResourcesFile(manifest);
    }
    std::string InFile(int line) const {
        return " on Line " + std::to_string(line) + " in File '" + manifest + "'";
    }

    FakeResourceHost host;
    ResourceManager manager{&host};
    std::string dir;
    std::string manifest;
};

TEST_F(ResourceManagerTest, ManifestErrorsCarryLineAndFile) {
    struct Case {
        const char* manifest;
        const char* error;
        int line;
    };
    const Case cases[] = {
        {"<Foo/>", "Expecting ResourceManifest tag", 1},
        {"<?xml version=\"1.0\"?>\n\n<Foo>", "Expecting ResourceManifest tag", 3},
        {"<ResourceManifest>\n  <Bogus/>\n</ResourceManifest>", "Invalid Section 'Bogus'", 2},
        {"<ResourceManifest>\n<Resources>\n</Resources>\n</ResourceManifest>", "No id specified.",
         2},
        {"<ResourceManifest>hello<Resources id=\"a\"/></ResourceManifest>",
         "Element Not Expected 'hello'", 1},
        {"<ResourceManifest>\n<Resources id=\"a\">\n</Foo></ResourceManifest>",
         "End 'Foo' Doesn't Match Start 'Resources'", 3},
    };
    for (const Case& c : cases) {
        WriteFile("resources.xml", c.manifest);
        ResourceManager fresh(&host);
        EXPECT_FALSE(fresh.ParseResourcesFile(manifest)) << c.manifest;
        EXPECT_TRUE(fresh.HadError());
        EXPECT_EQ(fresh.GetErrorText(), c.error + InFile(c.line)) << c.manifest;
    }
}

TEST_F(ResourceManagerTest, SectionErrorsCarryLineAndFile) {
    struct Case {
        const char* body;
        const char* error;
        int line = 3;
    };
    const Case cases[] = {
        {"<Image id=\"a\"/>", "No path specified."},
        {"<Image path=\"\"/>", "No path specified."},
        {"<Image path=\"a.png\" anim=\"bounce\"/>", "Invalid animation type."},
        {"<Font path=\"!sys:Tahoma\"/>", "SysFont needs point size"},
        {"<Font path=\"!sys:Tahoma\" size=\"0\"/>", "SysFont needs point size"},
        {"<Image path=\"a.png\">x</Image>", "Unexpected element found."},
        {"<Image path=\"a.png\"><Image path=\"b.png\"/></Image>", "Unexpected element found."},
        {"<Other/>", "Invalid Section 'Other'"},
        // Text is reported whole, with the line it ends on.
        {"oops", "Element Not Expected '\noops\n'", 4},
        {"<Sound path=\"a\"/><Sound path=\"dir/a.wav\"/>", "Resource already defined."},
    };
    for (const Case& c : cases) {
        ResourceManager fresh(&host);
        WriteFile("resources.xml", "<ResourceManifest>\n<Resources id=\"G\">\n" +
                                       std::string(c.body) +
                                       "\n</Resources>\n</ResourceManifest>\n");
        EXPECT_FALSE(fresh.ParseResourcesFile(manifest)) << c.body;
        EXPECT_EQ(fresh.GetErrorText(), c.error + InFile(c.line)) << c.body;
    }
}

TEST_F(ResourceManagerTest, MissingManifestNamesTheFile) {
    EXPECT_FALSE(manager.ParseResourcesFile(dir + "/none.xml"));
    EXPECT_EQ(manager.GetErrorText(), "Resource file not found: " + dir + "/none.xml");
}

TEST_F(ResourceManagerTest, IdsComeFromPrefixAndFileName) {
    ASSERT_TRUE(
        ParseSection("<SetDefaults path=\"images\\\" idprefix=\"IMAGE_/\"/>\n"
                     "<Image path=\"sub/ball.png\"/>\n"
                     "<Image path=\"noext\"/>\n"
                     "<Image path=\"a.b\\c\"/>\n"
                     "<Image path=\"x\\y/two.dots.jpg\"/>\n"
                     "<Image id=\"OWN\" path=\"z.png\"/>"))
        << manager.GetErrorText();
    struct Expected {
        const char* id;
        const char* path;
    };
    for (const Expected& e :
         {Expected{"IMAGE_ball", "images/sub/ball.png"}, Expected{"IMAGE_noext", "images/noext"},
          Expected{"IMAGE_c", "images/a.b\\c"},
          Expected{"IMAGE_two.dots", "images/x\\y/two.dots.jpg"},
          Expected{"OWN", "images/z.png"}}) {
        BaseRes* res = manager.FindRecord(BaseRes::ResType_Image, e.id);
        ASSERT_NE(res, nullptr) << e.id;
        EXPECT_EQ(res->path, e.path);
        EXPECT_EQ(res->resGroup, "G");
    }
}

TEST_F(ResourceManagerTest, RedefinitionReplacesPathOnlyWhenAllowed) {
    manager.SetAllowAlreadyDefinedResources(true);
    ASSERT_TRUE(
        ParseSection("<Image id=\"A\" path=\"one.png\"/>\n<Image id=\"A\" path=\"two.png\" "
                     "nopal=\"\"/>"))
        << manager.GetErrorText();
    EXPECT_TRUE(manager.HadAlreadyDefinedError());
    EXPECT_FALSE(manager.HadError());
    auto* res = static_cast<ImageRes*>(manager.FindRecord(BaseRes::ResType_Image, "A"));
    ASSERT_NE(res, nullptr);
    EXPECT_EQ(res->path, "two.png");
    EXPECT_FALSE(res->palletize);
    EXPECT_EQ(manager.GetNumImages("G"), 1);
}

TEST_F(ResourceManagerTest, AnimationAttributes) {
    ASSERT_TRUE(
        ParseSection("<Image path=\"a\" rows=\"2\" cols=\"4\" anim=\"Loop\" framedelay=\"50\"/>\n"
                     "<Image path=\"b\" anim=\"PINGPONG\" cols=\"3\" perframedelay=\"5,0,7\" "
                     "begindelay=\"9\"/>\n"
                     "<Image path=\"c\" anim=\"once\" framemap=\"2,1\" cols=\"4\"/>\n"
                     "<Image path=\"d\" framedelay=\"70\" rows=\"0\"/>"))
        << manager.GetErrorText();
    auto anim = [this](const char* id) -> const ImageRes& {
        return *static_cast<ImageRes*>(manager.FindRecord(BaseRes::ResType_Image, id));
    };
    EXPECT_EQ(anim("a").animInfo.animType, AnimInfo::AnimLoop);
    EXPECT_EQ(anim("a").animInfo.numCels, 4);  // max(rows, cols)
    EXPECT_EQ(anim("a").animInfo.totalAnimTime, 200);
    // Ping-pong over 3 cels plays 0 1 2 1; the begin delay replaces the first frame's delay, and
    // the missing delays take the frame delay 1.
    EXPECT_EQ(anim("b").animInfo.frameMap, (std::vector<int>{0, 1, 2, 1}));
    EXPECT_EQ(anim("b").animInfo.perFrameDelay, (std::vector<int>{9, 1, 7, 1}));
    EXPECT_EQ(anim("c").animInfo.numCels, 2);  // from the frame map
    // Without an animation type the animation attributes are not read; rows stay at least 1.
    EXPECT_EQ(anim("d").animInfo.frameDelay, 1);
    EXPECT_EQ(anim("d").rows, 1);
}

// A whole manifest of every kind of resource in two groups.
class ResourceLoadingTest : public ResourceManagerTest {
protected:
    void SetUp() override {
        ResourceManagerTest::SetUp();
        host.AddPicture("images/ball.png", 8, 4);
        host.AddPicture("images/plain", 4, 2, 0xFF102030);
        FakeResourceHost::Picture alpha{4, 2, {}};
        for (uint32_t i = 0; i < 8; ++i) alpha.pixels.push_back(0xFF000000 | (i * 16));
        host.files["images/plain_a"] = alpha;
        host.AddPicture("images/grid.png", 4, 2, 0xFFFFFFFF);
        host.files["images/cel_a.png"] = {2, 2, {0x10, 0x20, 0x30, 0x40}};
        host.AddPicture(dir + "/glyphs.png", 64, 16);
        host.AddPicture("fontimg", 30, 12);
        WriteFile("test.txt",
                  "CreateLayer Face; LayerSetImage Face 'glyphs.png';"
                  "LayerSetImageMap Face ('A') ((0 0 8 10)); LayerSetCharWidths Face ('A') (9);");
        WriteFile("widths.txt", "4 10\na 5\n");
        WriteFile("resources.xml", R"(<?xml version="1.0"?>
<ResourceManifest>
  <Resources id="Init">
    <SetDefaults path="images\" idprefix="IMAGE_"/>
    <Image path="ball.png" rows="2" cols="4" anim="Loop" framedelay="50"/>
    <Image path="plain" nopal="x" a4r4g4b4="" minsubdivide=""/>
    <Image id="IMAGE_ALPHA" path="plain" alphaimage="plain_a" variant="v2"/>
    <Image path="!program" id="IMAGE_PROGRAM"/>
    <Image path="grid.png" cols="2" alphagrid="cel_a.png" alphacolor="00FF00" noalpha=""/>
  </Resources>
  <Resources id="Game">
    <SetDefaults path="sounds/" idprefix="SOUND_"/>
    <Sound path="kick.wav" volume="0.5" pan="-200"/>
    <Sound id="SOUND_WHISTLE" path="whistle"></Sound>
    <SetDefaults path=")" + dir + R"(" idprefix="FONT_"/>
    <Font path="test.txt" tags="Big, bold	third"/>
    <Font id="FONT_COPY" path="!ref:FONT_test"/>
    <Font id="FONT_SYS" path="!sys:Tahoma" size="12" bold="" shadow=""/>
    <Font id="FONT_WIDTHS" path="widths.txt" image="fontimg" tags=""/>
  </Resources>
</ResourceManifest>
)");
        ASSERT_TRUE(manager.ParseResourcesFile(manifest)) << manager.GetErrorText();
    }
};

TEST_F(ResourceLoadingTest, CountsLeaveOutProgramResources) {
    EXPECT_EQ(manager.GetNumImages("Init"), 4);
    EXPECT_EQ(manager.GetNumResources("Init"), 4);
    EXPECT_EQ(manager.GetNumSounds("Game"), 2);
    EXPECT_EQ(manager.GetNumFonts("Game"), 4);
    EXPECT_EQ(manager.GetNumResources("Game"), 6);
    EXPECT_EQ(manager.GetNumResources("Nothing"), 0);
}

TEST_F(ResourceLoadingTest, OneResourcePerCallCountsEachStep) {
    manager.StartLoadResources("Game");
    int steps = 0;
    while (manager.LoadNextResource()) ++steps;
    EXPECT_FALSE(manager.HadError()) << manager.GetErrorText();
    EXPECT_EQ(steps, manager.GetNumResources("Game"));
    // Loaded records are skipped: a second pass has nothing to do.
    manager.StartLoadResources("Game");
    EXPECT_FALSE(manager.LoadNextResource());
    manager.StartLoadResources("Unknown");
    EXPECT_FALSE(manager.LoadNextResource());
}

TEST_F(ResourceLoadingTest, ImagesGetTheirAttributes) {
    ASSERT_TRUE(manager.LoadResources("Init")) << manager.GetErrorText();
    EXPECT_TRUE(manager.IsGroupLoaded("Init"));

    MemoryImage* ball = manager.GetImageThrow("IMAGE_ball");
    ASSERT_NE(ball, nullptr);
    EXPECT_EQ(ball->rows, 2);
    EXPECT_EQ(ball->columns, 4);
    ASSERT_NE(ball->animInfo, nullptr);
    EXPECT_EQ(ball->animInfo->numCels, 4);
    EXPECT_EQ(ball->animInfo->frameDelay, 50);
    EXPECT_NE(ball->colorTable, nullptr);  // palettized by default

    MemoryImage* plain = manager.GetImageThrow("IMAGE_plain");
    EXPECT_EQ(plain->colorTable, nullptr);
    EXPECT_EQ(plain->hwFlags, 4 | 1);
    EXPECT_EQ(plain->animInfo, nullptr);

    // The variant makes a separate shared image, whose alpha comes from the alpha image's blue.
    MemoryImage* alpha = manager.GetImageThrow("IMAGE_ALPHA");
    ASSERT_NE(alpha, plain);
    const uint32_t* bits = alpha->GetBits();
    EXPECT_EQ(bits[0], 0x00102030u);
    EXPECT_EQ(bits[5], 0x50102030u);

    // Each 2 x 2 cel takes the grid's blue channel as alpha.
    const uint32_t* grid = manager.GetImageThrow("IMAGE_grid").Get()->GetBits();
    EXPECT_EQ(grid[0] >> 24, 0x10u);
    EXPECT_EQ(grid[2] >> 24, 0x10u);
    EXPECT_EQ(grid[3] >> 24, 0x20u);
    EXPECT_EQ(grid[7] >> 24, 0x40u);

    EXPECT_EQ(host.sharedRequests,
              (std::vector<std::string>{
                  "images/ball.png||FFFFFF|alpha", "images/plain||FFFFFF|alpha",
                  "images/plain|v2|FFFFFF|alpha", "images/grid.png||00FF00|noalpha"}));
    EXPECT_EQ(ImageLib::GetAlphaColor(), 0xFFFFFFu);
    EXPECT_TRUE(host.autoFindAlpha);
}

TEST_F(ResourceLoadingTest, SoundsAndFontsLoadWithTheirSettings) {
    ASSERT_TRUE(manager.LoadResources("Game")) << manager.GetErrorText();
    const int kick = manager.GetSoundThrow("SOUND_kick");
    const int whistle = manager.GetSoundThrow("SOUND_WHISTLE");
    EXPECT_EQ(host.soundManager.sounds[kick], "sounds/kick.wav");
    EXPECT_EQ(host.soundManager.sounds[whistle], "sounds/whistle");
    EXPECT_EQ(host.soundManager.volumes, (std::map<int, double>{{kick, 0.5}}));
    EXPECT_EQ(host.soundManager.pans, (std::map<int, int>{{kick, -200}}));

    auto* test = dynamic_cast<ImageFont*>(manager.GetFontThrow("FONT_test"));
    ASSERT_NE(test, nullptr);
    EXPECT_EQ(test->tags, (std::vector<std::string>{"BIG", "BOLD", "THIRD"}));
    auto* copy = dynamic_cast<ImageFont*>(manager.GetFontThrow("FONT_COPY"));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->fontData, test->fontData);
    auto* sys = dynamic_cast<SysFont*>(manager.GetFontThrow("FONT_SYS"));
    ASSERT_NE(sys, nullptr);
    EXPECT_TRUE(sys->drawShadow);
    auto* widths = dynamic_cast<ImageFont*>(manager.GetFontThrow("FONT_WIDTHS"));
    ASSERT_NE(widths, nullptr);
    EXPECT_TRUE(widths->tags.empty());
    EXPECT_EQ(widths->StringWidth("a a"), 14);
}

TEST_F(ResourceLoadingTest, DeleteResourcesFreesOneGroupAndAllowsReloading) {
    ASSERT_TRUE(manager.LoadResources("Init"));
    ASSERT_TRUE(manager.LoadResources("Game"));
    const int kick = manager.GetSoundThrow("SOUND_kick");
    manager.DeleteResources("Game");
    EXPECT_FALSE(manager.IsGroupLoaded("Game"));
    EXPECT_TRUE(manager.IsGroupLoaded("Init"));
    EXPECT_EQ(manager.GetFont("FONT_test"), nullptr);
    EXPECT_EQ(manager.GetSound("SOUND_kick"), -1);
    EXPECT_NE(std::find(host.soundManager.released.begin(), host.soundManager.released.end(), kick),
              host.soundManager.released.end());
    EXPECT_NE(manager.GetImage("IMAGE_ball").Get(), nullptr);
    EXPECT_THROW(manager.GetFontThrow("FONT_test"), ResourceManagerException);

    ASSERT_TRUE(manager.LoadResources("Game")) << manager.GetErrorText();
    EXPECT_NE(manager.GetFont("FONT_test"), nullptr);
    manager.DeleteResources("");
    EXPECT_EQ(manager.GetImage("IMAGE_ball").Get(), nullptr);
}

TEST_F(ResourceLoadingTest, LookupsThrowUnlessAProgramResourceMayBeMissing) {
    try {
        manager.GetImageThrow("IMAGE_PROGRAM");
        FAIL() << "no exception";
    } catch (const ResourceManagerException& e) {
        EXPECT_STREQ(e.what(), "Image resource not found: IMAGE_PROGRAM");
    }
    EXPECT_EQ(manager.GetErrorText(), "Image resource not found: IMAGE_PROGRAM");
    manager.SetAllowMissingProgramImages(true);
    EXPECT_EQ(manager.GetImageThrow("IMAGE_PROGRAM").Get(), nullptr);
    EXPECT_THROW(manager.GetImageThrow("IMAGE_NONE"), ResourceManagerException);
    EXPECT_THROW(manager.GetSoundThrow("SOUND_kick"), ResourceManagerException);  // not loaded
    EXPECT_THROW(manager.GetFontThrow("FONT_NONE"), ResourceManagerException);
    // Only the first error text is kept, and later lookups throw it.
    EXPECT_EQ(manager.GetErrorText(), "Image resource not found: IMAGE_PROGRAM");
    try {
        manager.GetFontThrow("FONT_NONE");
        FAIL() << "no exception";
    } catch (const ResourceManagerException& e) {
        EXPECT_STREQ(e.what(), "Image resource not found: IMAGE_PROGRAM");
    }
}

TEST_F(ResourceManagerTest, LoadErrorsHaveTheirTexts) {
    host.AddPicture("a.png", 4, 4);
    host.AddPicture("small.png", 2, 2);
    host.AddPicture("grid.png", 4, 4);
    WriteFile("bad.txt", "Bogus;");
    struct Case {
        std::string body;
        std::string error;
    };
    const Case cases[] = {
        {"<Image path=\"nothing\"/>", "Failed to load image: nothing"},
        {"<Image path=\"a.png\" alphaimage=\"none_a\"/>", "Failed to load image: none_a"},
        {"<Image path=\"a.png\" alphaimage=\"small.png\"/>",
         "AlphaImage size mismatch between a.png and small.png"},
        {"<Image path=\"grid.png\" rows=\"2\" alphagrid=\"a.png\"/>",
         "GridAlphaImage size mismatch between grid.png and a.png"},
        {"<Sound path=\"missing.wav\"/>", "Failed to load sound: missing.wav"},
        {"<Font path=\"!ref:NOPE\"/>", "Ref font not found: NOPE"},
        {"<Font path=\"" + dir + "/bad.txt\"/>", "Failed to load font: " + dir + "/bad.txt"},
        {"<Font path=\"w.txt\" image=\"noimg\"/>", "Failed to load image: noimg"},
    };
    for (const Case& c : cases) {
        FakeResourceHost caseHost;
        caseHost.files = host.files;
        ResourceManager fresh(&caseHost);
        WriteFile("resources.xml", "<ResourceManifest><Resources id=\"G\">" + c.body +
                                       "</Resources></ResourceManifest>");
        ASSERT_TRUE(fresh.ParseResourcesFile(manifest)) << fresh.GetErrorText();
        EXPECT_FALSE(fresh.LoadResources("G")) << c.body;
        EXPECT_EQ(fresh.GetErrorText(), c.error) << c.body;
        EXPECT_FALSE(fresh.IsGroupLoaded("G"));
    }
}

TEST_F(ResourceManagerTest, OutOfSoundIdsAndFirstErrorWins) {
    host.soundManager.slots = 0;
    ASSERT_TRUE(ParseSection("<Sound path=\"a.wav\"/><Image path=\"none\"/>"));
    manager.StartLoadResources("G");
    EXPECT_FALSE(manager.LoadNextResource());
    EXPECT_EQ(manager.GetErrorText(), "Out of free sound ids");
    EXPECT_FALSE(manager.LoadNextResource());  // nothing more after an error
    EXPECT_THROW(manager.GetImageThrow("none"), ResourceManagerException);
    EXPECT_EQ(manager.GetErrorText(), "Out of free sound ids");
}

}  // namespace
}  // namespace Zarvo

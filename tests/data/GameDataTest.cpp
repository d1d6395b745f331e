// The generated game data, loaded through the real manifest parser, resource manager, image
// readers, font descriptor parser and sound decoders: from the loose files the build writes next
// to the game and from main.pak alone.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "audio/MixerSoundManager.h"
#include "files/PakInterface.h"
#include "game/ResourceIds.h"
#include "graphics/Color.h"
#include "graphics/Font.h"
#include "graphics/Graphics.h"
#include "graphics/MemoryImage.h"
#include "resources/ResourceManager.h"
#include "resources/StandaloneResourceHost.h"
#include "resources/manager/FakeSoundManager.h"

namespace Zarvo {
namespace {

namespace fs = std::filesystem;

const fs::path kData = fs::path(KELVANE_BINARY_DIR) / "gamedata";
const fs::path kPak = fs::path(KELVANE_BINARY_DIR) / "main.pak";

// The font ids are the game's own list (ids 0..9).
const std::span<const std::string_view> kFontIds(Kelvane::kResourceNames.data(),
                                                 Kelvane::kFirstImageId);

// Every image id 10..132, in the order of the game's list, with the size its place on screen asks
// for and its file format (P PNG, J JPEG, G GIF, T TGA).
struct ImageSpec {
    const char* id;
    int width, height;
    char format;
};
const ImageSpec kImages[123] = {
    {"IMAGE_EMPTY_SQUARE", 160, 40, 'P'},  // four 40 x 40 cels
    {"IMAGE_SELECTED", 40, 40, 'G'},
    {"IMAGE_TIME_BAR", 146, 14, 'P'},
    {"IMAGE_TIME_BAR_BACKGROUND", 150, 18, 'P'},
    {"IMAGE_TIME_MAIN_BACKGROUND", 220, 40, 'P'},
    {"IMAGE_EXTRA_TIME_MAIN_BACKGROUND", 220, 40, 'P'},
    {"IMAGE_HINT_ANIM", 160, 40, 'P'},
    {"IMAGE_MOUSE_OVER_OBJECT_ANIM", 160, 40, 'J'},
    {"IMAGE_BOARD_BACKGROUND", 300, 300, 'P'},  // (180, 90) around the pieces at 190..470
    {"IMAGE_MENU_DIALOG_BACKGROUND", 100, 300, 'P'},
    {"IMAGE_SCORES_DIALOG_BACKGROUND", 300, 300, 'P'},
    {"IMAGE_QUIT_DIALOG_BACKGROUND", 423, 143, 'P'},
    {"IMAGE_RULES_DIALOG_BACKGROUND", 540, 380, 'P'},
    {"IMAGE_DIALOG_BUTTON_BACKGROUND", 80, 30, 'P'},
    {"IMAGE_OPTIONS_DIALOG_BACKGROUND", 200, 200, 'P'},
    {"IMAGE_OPTIONS_DIALOG_SLIDER_TRACK", 160, 12, 'P'},
    {"IMAGE_OPTIONS_DIALOG_SLIDER_THUMB", 16, 24, 'P'},
    {"IMAGE_OPTIONS_DIALOG_CHECKBOX", 48, 24, 'P'},  // unchecked and checked halves
    {"IMAGE_BASIC_DIALOG_BACKGROUND", 423, 143, 'P'},
    {"IMAGE_WORLD_TOUR_COMPLETED_DIALOG_BACKGROUND", 300, 300, 'P'},
    {"IMAGE_CLOCK_BACKGROUND", 50, 50, 'P'},
    {"IMAGE_POWERUP_BACKGROUND", 60, 60, 'P'},
    {"IMAGE_POWERUP_FILLER", 60, 60, 'P'},
    {"IMAGE_POWERUP_OVERLAY", 60, 60, 'T'},
    {"IMAGE_SCORE_BACKGROUND", 60, 40, 'P'},
    {"IMAGE_SCORE_OVERLAY", 60, 40, 'P'},
    {"IMAGE_PLAY_BUTTON", 80, 30, 'P'},
    {"IMAGE_EXIT_BUTTON", 80, 30, 'P'},
    {"IMAGE_OPTIONS_BUTTON", 80, 30, 'P'},
    {"IMAGE_START_BUTTON", 80, 30, 'P'},
    {"IMAGE_BACK_BUTTON", 80, 30, 'P'},
    {"IMAGE_NEXT_BUTTON", 80, 30, 'P'},
    {"IMAGE_DONE_BUTTON", 80, 30, 'P'},
    {"IMAGE_RULES_BUTTON", 80, 30, 'P'},
    {"IMAGE_SCORES_BUTTON", 80, 30, 'P'},
    {"IMAGE_QUIT_BUTTON", 80, 30, 'P'},
    {"IMAGE_MENU_BUTTON", 80, 30, 'P'},
    {"IMAGE_PAUSE_BUTTON", 80, 30, 'P'},
    {"IMAGE_MENU_BUTTON_CLICKED", 80, 30, 'P'},
    {"IMAGE_PAUSE_BUTTON_CLICKED", 80, 30, 'P'},
    {"IMAGE_OPPOSING_TEAM_BACKGROUND", 100, 310, 'P'},  // (24, 90) down to below the bar at 391
    {"IMAGE_OPPOSING_TEAM_FILLER", 100, 45, 'J'},
    {"IMAGE_OPPOSING_TEAM_OVERLAY", 100, 310, 'J'},
    {"IMAGE_OPPOSING_TEAM_ARROW", 100, 14, 'T'},
    {"IMAGE_ORLEND_SCREEN_BACKGROUND", 640, 480, 'J'},
    {"IMAGE_KELVANE_SCREEN_BACKGROUND", 640, 480, 'J'},
    {"IMAGE_START_SCREEN_BACKGROUND", 640, 480, 'J'},
    {"IMAGE_TEAM_PICKING_SCREEN_BACKGROUND", 640, 480, 'J'},
    {"IMAGE_MAIN_SCREEN_BACKGROUND", 640, 480, 'J'},
    {"IMAGE_MAP_SCREEN_BACKGROUND", 640, 480, 'J'},
    {"IMAGE_GAME_TYPE_SCREEN_BACKGROUND", 640, 480, 'J'},
    {"IMAGE_WORLD_TOUR_SCREEN_BACKGROUND", 640, 480, 'J'},
    {"IMAGE_RED_CARD", 40, 40, 'P'},
    {"IMAGE_MONEY", 40, 40, 'P'},
    {"IMAGE_CORNER_FLAG", 40, 40, 'P'},
    {"IMAGE_OFFSIDE_FLAG", 40, 40, 'P'},
    {"IMAGE_INJURY", 40, 40, 'P'},
    {"IMAGE_YELLOW_CARD", 40, 40, 'P'},
    {"IMAGE_EXTRA_TIME", 40, 40, 'P'},
    {"IMAGE_WHITE_BALL", 40, 40, 'P'},
    {"IMAGE_INJURY_ANIM", 160, 80, 'P'},
    {"IMAGE_YELLOW_CARD_ANIM", 240, 40, 'P'},
    {"IMAGE_READY_MESSAGE", 390, 100, 'P'},  // slides in to x 130, ends at 520
    {"IMAGE_KICKOFF_MESSAGE", 390, 100, 'P'},
    {"IMAGE_TIME_UP_MESSAGE", 390, 100, 'P'},
    {"IMAGE_EXTRA_TIME_MESSAGE", 390, 100, 'P'},
    {"IMAGE_GOAL_MESSAGE", 390, 100, 'P'},
    {"IMAGE_GO_MESSAGE", 390, 100, 'P'},
    {"IMAGE_FRANCE_NAME", 190, 30, 'P'},  // (300, 400), left of the next button at 500
    {"IMAGE_BRAZIL_NAME", 190, 30, 'P'},
    {"IMAGE_USA_NAME", 190, 30, 'P'},
    {"IMAGE_ENGLAND_NAME", 190, 30, 'P'},
    {"IMAGE_SPAIN_NAME", 190, 30, 'P'},
    {"IMAGE_GERMANY_NAME", 190, 30, 'P'},
    {"IMAGE_ITALY_NAME", 190, 30, 'P'},
    {"IMAGE_ARGENTINA_NAME", 190, 30, 'P'},
    {"IMAGE_CHOSEN_TEAM_TEXT", 96, 30, 'P'},  // (200, 400), left of the name at 300
    {"IMAGE_CHOOSE_TEAM_TEXT", 190, 30, 'P'},
    {"IMAGE_FRANCE_NAME_SMALL", 100, 20, 'P'},
    {"IMAGE_BRAZIL_NAME_SMALL", 100, 20, 'P'},
    {"IMAGE_USA_NAME_SMALL", 100, 20, 'P'},
    {"IMAGE_ENGLAND_NAME_SMALL", 100, 20, 'P'},
    {"IMAGE_SPAIN_NAME_SMALL", 100, 20, 'P'},
    {"IMAGE_GERMANY_NAME_SMALL", 100, 20, 'P'},
    {"IMAGE_ITALY_NAME_SMALL", 100, 20, 'P'},
    {"IMAGE_ARGENTINA_NAME_SMALL", 100, 20, 'P'},
    {"IMAGE_LEFT_CUP_MATCH_BRACKET", 40, 80, 'P'},
    {"IMAGE_RIGHT_CUP_MATCH_BRACKET", 40, 80, 'P'},
    {"IMAGE_LEFT_SEMI_FINAL_BRACKET", 40, 160, 'P'},
    {"IMAGE_RIGHT_SEMI_FINAL_BRACKET", 40, 160, 'P'},
    {"IMAGE_CUP_FINAL_V", 40, 40, 'G'},
    {"IMAGE_FRIENDLY_MATCH", 150, 150, 'P'},  // (160, 165), next to the tour at 330
    {"IMAGE_TARVEN_CUP", 110, 150, 'P'},
    {"IMAGE_HUMAN_TEAM_INDICATOR", 20, 44, 'P'},  // between a name and its score box
    {"IMAGE_PAGE_ONE_OF_RULES", 500, 250, 'P'},   // (20, 40) in the rules dialog, above y 300
    {"IMAGE_PAGE_TWO_OF_RULES", 500, 250, 'P'},
    {"IMAGE_PAGE_THREE_OF_RULES", 500, 250, 'P'},
    {"IMAGE_PAGE_FOUR_OF_RULES", 500, 250, 'P'},
    {"IMAGE_PAGE_FIVE_OF_RULES", 500, 250, 'P'},
    {"IMAGE_PAGE_SIX_OF_RULES", 500, 250, 'P'},
    {"IMAGE_PAGE_SEVEN_OF_RULES", 500, 250, 'P'},
    {"IMAGE_NODE", 18, 18, 'P'},
    {"IMAGE_COMPLETED_NODE", 18, 18, 'P'},
    {"IMAGE_WORLD_TOUR", 150, 150, 'P'},
    {"IMAGE_SHOP_BUTTON", 80, 30, 'P'},
    {"IMAGE_BUY_BUTTON", 80, 30, 'P'},
    {"IMAGE_BUY_BUTTON_DISABLED", 80, 30, 'P'},
    {"IMAGE_TINTED_SCREEN_COVER", 640, 480, 'J'},
    {"IMAGE_PROFILE_BUTTON", 80, 30, 'P'},
    {"IMAGE_POINTS_BACKGROUND", 130, 22, 'P'},  // (400, 10), above the team name at y 38
    {"IMAGE_SHOP_DIALOG_BACKGROUND", 400, 390, 'P'},
    {"IMAGE_PROFILE_DIALOG_BACKGROUND", 500, 330, 'P'},
    {"IMAGE_POST_MATCH_DIALOG_BACKGROUND", 540, 405, 'P'},
    {"IMAGE_TEAM_PICK_BACKGROUND", 440, 33, 'P'},  // rows 35 pixels apart from y 115
    {"IMAGE_TEAM_PICKED_BACKGROUND", 440, 33, 'J'},
    {"IMAGE_CREDITS_DIALOG_BACKGROUND", 300, 300, 'P'},
    {"IMAGE_CREDITS_BUTTON", 80, 30, 'P'},
    {"IMAGE_SAVE_GAME_DIALOG_BACKGROUND", 423, 143, 'P'},
    {"IMAGE_YES_BUTTON", 80, 30, 'P'},
    {"IMAGE_NO_BUTTON", 80, 30, 'P'},
    {"IMAGE_LOAD_GAME_DIALOG_BACKGROUND", 423, 143, 'P'},
    {"IMAGE_START_SCREEN_BACKGROUND_DEMO", 640, 480, 'J'},
    {"IMAGE_WORLD_TOUR_DEMO", 150, 150, 'P'},
};

const char* const kSounds[] = {"SOUND_WHISTLE", "SOUND_KICK",    "SOUND_CLICK",
                               "SOUND_CHEER",   "SOUND_SWOOSH",  "SOUND_GROAN",
                               "SOUND_CHIME",   "SOUND_POWERUP", "SOUND_FANFARE"};

// The format of a file from its first bytes.
char FormatOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    unsigned char b[18] = {};
    in.read(reinterpret_cast<char*>(b), sizeof b);
    if (b[0] == 0x89 && b[1] == 'P' && b[2] == 'N' && b[3] == 'G') return 'P';
    if (b[0] == 0xFF && b[1] == 0xD8) return 'J';
    if (b[0] == 'G' && b[1] == 'I' && b[2] == 'F') return 'G';
    if (b[2] == 2 && b[16] == 32 && b[17] == 0x28) return 'T';
    return '?';
}

// Runs a test body in `dir` and goes back to where it was.
class WorkingDirectory {
public:
    explicit WorkingDirectory(const fs::path& dir) : previous_(fs::current_path()) {
        fs::current_path(dir);
    }
    ~WorkingDirectory() { fs::current_path(previous_); }

private:
    fs::path previous_;
};

class GameDataTest : public ::testing::Test {
protected:
    // Parses the manifest and loads both groups the way the game does: "Init" at once, "Game"
    // one resource per step.
    void LoadAll() {
        ASSERT_TRUE(manager.ParseResourcesFile("properties/resources.xml"))
            << manager.GetErrorText();
        ASSERT_TRUE(manager.LoadResources("Init")) << manager.GetErrorText() << "\n"
                                                   << host.GetLastFontError();
        manager.StartLoadResources("Game");
        int steps = 0;
        while (manager.LoadNextResource()) ++steps;
        ASSERT_FALSE(manager.HadError()) << manager.GetErrorText();
        EXPECT_EQ(steps, manager.GetNumResources("Game"));
    }

    // Every id binds, at its size.
    void ExpectEveryIdBinds() {
        for (std::string_view id : kFontIds)
            EXPECT_NE(manager.GetFont(std::string(id)), nullptr) << id;
        for (const ImageSpec& spec : kImages) {
            MemoryImage* image = manager.GetImage(spec.id);
            ASSERT_NE(image, nullptr) << spec.id;
            EXPECT_EQ(image->GetWidth(), spec.width) << spec.id;
            EXPECT_EQ(image->GetHeight(), spec.height) << spec.id;
        }
    }

    FakeSoundManager sounds;
    StandaloneResourceHost host{&sounds};
    ResourceManager manager{&host};
};

TEST_F(GameDataTest, ManifestDeclaresEveryIdInItsGroup) {
    WorkingDirectory cwd(kData);
    ASSERT_TRUE(manager.ParseResourcesFile("properties/resources.xml")) << manager.GetErrorText();
    EXPECT_EQ(manager.GetNumFonts("Init"), 10);
    EXPECT_EQ(manager.GetNumImages("Init"), 0);
    EXPECT_EQ(manager.GetNumImages("Game"), 123);
    EXPECT_EQ(manager.GetNumSounds("Game"), 9);
    EXPECT_EQ(manager.GetNumFonts("Game"), 0);
}

TEST(GameDataIdsTest, TheImageTableFollowsTheGamesIdList) {
    for (int i = 0; i < 123; ++i)
        EXPECT_EQ(kImages[i].id, Kelvane::kResourceNames[Kelvane::kFirstImageId + i]) << i;
}

TEST_F(GameDataTest, TheGamesIdsBindFromTheGeneratedManifest) {
    WorkingDirectory cwd(kData);
    LoadAll();
    EXPECT_TRUE(Kelvane::extractInitResources(manager));
    EXPECT_TRUE(Kelvane::extractGameResources(manager));
    for (int32_t id = 0; id < Kelvane::RESOURCE_ID_COUNT; ++id) {
        const std::string name(Kelvane::kResourceNames[id]);
        if (Kelvane::isFontId(id))
            EXPECT_EQ(Kelvane::getFontById(id), manager.GetFont(name)) << name;
        else
            EXPECT_EQ(Kelvane::getImageById(id), manager.GetImage(name).Get()) << name;
        EXPECT_NE(Kelvane::getResourceById(id), nullptr) << name;
    }
    Kelvane::clearResourceIds();
}

TEST_F(GameDataTest, EveryIdLoadsFromTheLooseFilesAtItsSizeAndFormat) {
    WorkingDirectory cwd(kData);
    LoadAll();
    ExpectEveryIdBinds();
    for (const ImageSpec& spec : kImages) {
        // The manifest names images without an extension: the file on disk decides the reader.
        MemoryImage* image = manager.GetImage(spec.id);
        ASSERT_NE(image, nullptr);
        const std::string file = image->filePath;
        bool found = false;
        for (const char* ext : {".tga", ".jpg", ".png", ".gif"}) {
            if (fs::exists(file + ext)) {
                EXPECT_EQ(FormatOf(file + ext), spec.format) << spec.id << " " << file << ext;
                found = true;
                break;
            }
        }
        EXPECT_TRUE(found) << spec.id << " " << file;
    }
    for (const char* id : kSounds) EXPECT_GE(manager.GetSound(id), 0) << id;
    // The crowds and the chimes sit a little under the other effects.
    EXPECT_EQ(sounds.volumes.size(), 4u);
    EXPECT_DOUBLE_EQ(sounds.volumes[manager.GetSound("SOUND_CHEER")], 0.7);
    EXPECT_DOUBLE_EQ(sounds.volumes[manager.GetSound("SOUND_GROAN")], 0.7);
    EXPECT_DOUBLE_EQ(sounds.volumes[manager.GetSound("SOUND_CHIME")], 0.8);
    EXPECT_DOUBLE_EQ(sounds.volumes[manager.GetSound("SOUND_POWERUP")], 0.8);
}

TEST_F(GameDataTest, EveryIdLoadsFromThePackFileAlone) {
    const fs::path empty = fs::temp_directory_path() / "kelvane_gamedata_pack_test";
    fs::remove_all(empty);
    fs::create_directories(empty);
    {
        WorkingDirectory cwd(empty);
        PakInterface pak;
        ASSERT_EQ(PakInterface::Instance(), &pak);
        ASSERT_TRUE(pak.AddPakFile(kPak.string()));
        LoadAll();
        ExpectEveryIdBinds();
        for (const char* id : kSounds) EXPECT_GE(manager.GetSound(id), 0) << id;
    }
    fs::remove_all(empty);
}

TEST_F(GameDataTest, CelStripsAndAlphaSourcesArriveAsDeclared) {
    WorkingDirectory cwd(kData);
    LoadAll();
    struct Grid {
        const char* id;
        int rows, columns;
        bool animated;
    };
    for (const Grid& g :
         {Grid{"IMAGE_EMPTY_SQUARE", 1, 4, true}, Grid{"IMAGE_HINT_ANIM", 1, 4, true},
          Grid{"IMAGE_MOUSE_OVER_OBJECT_ANIM", 1, 4, true}, Grid{"IMAGE_INJURY_ANIM", 2, 4, true},
          Grid{"IMAGE_YELLOW_CARD_ANIM", 1, 6, true}, Grid{"IMAGE_WHITE_BALL", 1, 1, false}}) {
        MemoryImage* image = manager.GetImage(g.id);
        ASSERT_NE(image, nullptr) << g.id;
        EXPECT_EQ(image->rows, g.rows) << g.id;
        EXPECT_EQ(image->columns, g.columns) << g.id;
        EXPECT_EQ(image->animInfo != nullptr, g.animated) << g.id;
    }
    auto alphaAt = [&](const char* id, int x, int y) {
        MemoryImage* image = manager.GetImage(id);
        return image->GetBits()[y * image->GetWidth() + x] >> 24;
    };
    // GIF: the transparent index outside the corner brackets.
    EXPECT_EQ(alphaAt("IMAGE_SELECTED", 20, 20), 0u);
    EXPECT_EQ(alphaAt("IMAGE_SELECTED", 1, 1), 255u);
    // JPEG with a companion "_" alpha file: the tube's window is clear, the frame is solid.
    EXPECT_EQ(alphaAt("IMAGE_OPPOSING_TEAM_OVERLAY", 50, 150), 0u);
    EXPECT_EQ(alphaAt("IMAGE_OPPOSING_TEAM_OVERLAY", 6, 150), 255u);
    // JPEG with an "alphaimage": a see-through tint.
    EXPECT_GT(alphaAt("IMAGE_TINTED_SCREEN_COVER", 320, 240), 60u);
    EXPECT_LT(alphaAt("IMAGE_TINTED_SCREEN_COVER", 320, 240), 220u);
    // JPEG with an "alphagrid": every cel has the first cel's alpha.
    for (int cel = 1; cel < 4; ++cel) {
        for (auto [x, y] : {std::pair{2, 20}, std::pair{20, 20}, std::pair{4, 4}}) {
            EXPECT_EQ(alphaAt("IMAGE_MOUSE_OVER_OBJECT_ANIM", cel * 40 + x, y),
                      alphaAt("IMAGE_MOUSE_OVER_OBJECT_ANIM", x, y));
        }
    }
    // 32-bit TGA: the meter frame's corner is opaque, its window clear.
    EXPECT_EQ(alphaAt("IMAGE_POWERUP_OVERLAY", 30, 30), 0u);
    EXPECT_EQ(alphaAt("IMAGE_POWERUP_OVERLAY", 0, 30), 255u);
}

TEST_F(GameDataTest, SlabFontsKernAndTheTaggedFontDrawsAShadow) {
    WorkingDirectory cwd(kData);
    LoadAll();
    for (std::string_view id : kFontIds) {
        Font* font = manager.GetFont(std::string(id));
        ASSERT_NE(font, nullptr) << id;
        EXPECT_GT(font->GetAscent(), 0) << id;
        EXPECT_GT(font->GetHeight(), font->GetAscent()) << id;
        EXPECT_GT(font->StringWidth("Kelvane"), 0) << id;
    }
    Font* big = manager.GetFont("FONT_ROCKWELLEXTRABOLD20");
    EXPECT_LT(big->StringWidth("AV"), big->CharWidth('A') + big->CharWidth('V'));
    EXPECT_LT(big->StringWidth("To"), big->CharWidth('T') + big->CharWidth('o'));

    // FONT_ROCKWELLEXTRABOLD10 carries the tag "shadow": its shadow layer draws black pixels
    // under the white face. FONT_ROCKWELLEXTRABOLD11 has no tag and draws white only.
    auto darkPixels = [&](const char* id) {
        MemoryImage target;
        target.Create(60, 40);
        Graphics g(&target);
        Font* font = manager.GetFont(id);
        font->DrawString(&g, 4, 4 + font->GetAscent(), "HI", Color::White, g.GetClipRect());
        int dark = 0, lit = 0;
        for (uint32_t p : std::vector<uint32_t>(target.GetBits(), target.GetBits() + 60 * 40)) {
            if ((p >> 24) == 0) continue;
            ((p & 0xFFFFFF) == 0 ? dark : lit) += 1;
        }
        EXPECT_GT(lit, 10) << id;
        return dark;
    };
    EXPECT_GT(darkPixels("FONT_ROCKWELLEXTRABOLD10"), 5);
    EXPECT_EQ(darkPixels("FONT_ROCKWELLEXTRABOLD11"), 0);
}

TEST_F(GameDataTest, SoundsDecodeThroughTheSoundLoaders) {
    WorkingDirectory cwd(kData);
    MixerSoundManager decoder(nullptr);
    for (const char* name : {"sounds/whistle", "sounds/kick", "sounds/click", "sounds/cheer",
                             "sounds/swoosh", "sounds/groan", "sounds/chime", "sounds/zap",
                             "sounds/fanfare", "music/theme", "music/match"}) {
        SoundData data;
        ASSERT_TRUE(decoder.DecodeSound(name, data)) << name;
        EXPECT_GT(data.Frames(), data.sampleRate / 40) << name;
        EXPECT_EQ(data.sampleRate, 22050) << name;
    }
}

TEST_F(GameDataTest, GenerationIsRepeatable) {
    // A second run writes the same bytes as the build did.
    const fs::path again = fs::temp_directory_path() / "kelvane_gamedata_again";
    fs::remove_all(again);
    const std::string command = std::string("\"") + KELVANE_BINARY_DIR +
                                "/tools/datagen/datagen\" \"" + KELVANE_SOURCE_DIR +
                                "/assets\" \"" + (again / "data").string() + "\" \"" +
                                (again / "preview").string() + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0);
    int compared = 0;
    for (const auto& entry : fs::recursive_directory_iterator(kData)) {
        if (!entry.is_regular_file()) continue;
        const fs::path other = again / "data" / fs::relative(entry.path(), kData);
        std::ifstream a(entry.path(), std::ios::binary), b(other, std::ios::binary);
        const std::string bytesA((std::istreambuf_iterator<char>(a)), {});
        const std::string bytesB((std::istreambuf_iterator<char>(b)), {});
        EXPECT_TRUE(bytesA == bytesB) << entry.path();
        ++compared;
    }
    EXPECT_GT(compared, 150);
    fs::remove_all(again);
}

}  // namespace
}  // namespace Zarvo

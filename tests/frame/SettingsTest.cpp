// Settings of the frame, the mute model and the settings operations.
#include <gtest/gtest.h>

#include "TestApp.h"

using namespace Zarvo;
using ZarvoTest::TestApp;

namespace {

uint32_t StoredDword(TestApp& app, const std::string& section, const std::string& name) {
    SettingsValues::Value v;
    EXPECT_TRUE(app.hp.settings.values.Get(section, name, v)) << name;
    if (v.type != SettingsValues::kDword || v.data.size() != 4) return 0xDEADBEEF;
    return v.data[0] | v.data[1] << 8 | v.data[2] << 16 | static_cast<uint32_t>(v.data[3]) << 24;
}

void StoreDword(TestApp& app, const std::string& name, uint32_t n) {
    app.hp.settings.values.Set(
        "", name,
        SettingsValues::Value{SettingsValues::kDword,
                              {static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8),
                               static_cast<uint8_t>(n >> 16), static_cast<uint8_t>(n >> 24)}});
}

TEST(Settings, VolumeIsSavedAsWholePercentAndReadBack) {
    TestApp app;
    app.registryKey = "Orlend\\Kelvane\\Test";
    app.musicVolume = 0.857;
    app.sfxVolume = 0.29;  // 0.29 * 100 lies just below 29 in binary arithmetic
    app.SaveSettings();
    EXPECT_EQ(StoredDword(app, "", "MusicVolume"), 85u);
    EXPECT_EQ(StoredDword(app, "", "SfxVolume"), 29u);
    app.musicVolume = app.sfxVolume = 0;
    app.LoadSettings();
    EXPECT_DOUBLE_EQ(app.musicVolume, 0.85);
    EXPECT_DOUBLE_EQ(app.sfxVolume, 0.29);
}

TEST(Settings, EmptyKeyReadsNothingAndWritesNothing) {
    TestApp app;
    StoreDword(app, "MusicVolume", 10);
    app.LoadSettings();
    app.SaveSettings();
    int value = 0;
    EXPECT_FALSE(app.ReadInteger("MusicVolume", value));
    EXPECT_FALSE(app.WriteInteger("MusicVolume", 3));
    EXPECT_DOUBLE_EQ(app.musicVolume, 0.85);
    EXPECT_EQ(app.hp.settings.writeCount, 0);
    EXPECT_EQ(app.hp.settings.readCount, 0);
}

TEST(Settings, InProgressIsOneWhileRunningAndZeroAfterANormalExit) {
    TestApp app;
    app.registryKey = "K";
    StoreDword(app, "InProgress", 1);  // the last run crashed
    app.Init();
    EXPECT_FALSE(app.previousRunEndedNormally);
    EXPECT_EQ(StoredDword(app, "", "InProgress"), 1u);
    app.onUpdate = [](TestApp& a) {
        if (a.totalUpdates == 3) {
            EXPECT_EQ(StoredDword(a, "", "InProgress"), 1u);
            a.Post(Msg::kClose);
        }
    };
    app.Start();
    EXPECT_EQ(StoredDword(app, "", "InProgress"), 0u);
}

TEST(Settings, MutingByFocusLossThenQuittingSavesNotMuted) {
    TestApp app;
    app.registryKey = "K";
    app.InitAndLoad();
    app.Post(Msg::kActivateApp, 0);
    app.ReplayAll();
    ASSERT_TRUE(app.IsMuted());
    app.Quit();
    EXPECT_EQ(StoredDword(app, "", "Muted"), 0u);
}

TEST(Settings, AMuteThePlayerChoseIsSavedAndRestored) {
    TestApp app;
    app.registryKey = "K";
    app.InitAndLoad();
    app.Mute(false);
    app.Mute(true);
    app.SaveSettings();
    EXPECT_EQ(StoredDword(app, "", "Muted"), 1u);
    TestApp next;
    next.registryKey = "K";
    next.hp.settings.values = app.hp.settings.values;
    next.InitAndLoad();
    EXPECT_TRUE(next.IsMuted());
    EXPECT_EQ(next.musicVolumes.back(), 0.0);
}

struct MuteCase {
    const char* name;
    std::vector<int> steps;  // +1 mute(auto), +2 mute(player), -1 unmute(auto), -2 unmute(player)
    bool muted;
    uint32_t saved;
};

class MuteModel : public testing::TestWithParam<MuteCase> {};

TEST_P(MuteModel, CountsMutesAndSavesOnlyThePlayersOwn) {
    TestApp app;
    app.registryKey = "K";
    app.InitAndLoad();
    for (int s : GetParam().steps) {
        if (s > 0)
            app.Mute(s == 1);
        else
            app.Unmute(s == -1);
    }
    EXPECT_EQ(app.IsMuted(), GetParam().muted);
    EXPECT_EQ(app.musicVolumes.back(), GetParam().muted ? 0.0 : 0.85);
    app.SaveSettings();
    EXPECT_EQ(StoredDword(app, "", "Muted"), GetParam().saved);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, MuteModel,
    testing::Values(MuteCase{"Nothing", {}, false, 0}, MuteCase{"Automatic", {1}, true, 0},
                    MuteCase{"Player", {2}, true, 1},
                    MuteCase{"PlayerAndAutomatic", {2, 1}, true, 1},
                    MuteCase{"AutomaticUndone", {1, -1}, false, 0},
                    MuteCase{"UnmuteWhenNotMutedDoesNothing", {-2, -1, 2}, true, 1},
                    MuteCase{"TwiceMutedOnceUnmuted", {2, 2, -2}, true, 1}),
    [](const testing::TestParamInfo<MuteCase>& info) { return std::string(info.param.name); });

TEST(Settings, FrameSettingsAreReadIntoTheirFieldsAndBadValuesAreIgnored) {
    TestApp app;
    app.registryKey = "K";
    StoreDword(app, "ScreenMode", 1);
    StoreDword(app, "PreferredX", 100);
    StoreDword(app, "PreferredY", static_cast<uint32_t>(-5));
    StoreDword(app, "CustomCursors", 7);
    StoreDword(app, "WaitForVSync", 1);
    StoreDword(app, "SfxVolume", 250);  // out of range: at most full volume
    app.hp.settings.values.Set("", "MusicVolume", {SettingsValues::kString, {'4', '0', 0}});
    app.LoadSettings();
    EXPECT_FALSE(app.windowed);
    EXPECT_EQ(app.preferredX, 100);
    EXPECT_EQ(app.preferredY, -5);
    EXPECT_TRUE(app.customCursorsEnabled);
    EXPECT_TRUE(app.waitForVSync);
    EXPECT_DOUBLE_EQ(app.sfxVolume, 1.0);
    EXPECT_DOUBLE_EQ(app.musicVolume, 0.85);  // a string is not an integer
}

TEST(Settings, ValueNamesWithBackslashesGoToSubKeys) {
    TestApp app;
    app.registryKey = "K";
    EXPECT_TRUE(app.WriteInteger("Test3D\\Version", 2));
    EXPECT_TRUE(app.WriteString("Player\\Name", "Ann Lee"));
    EXPECT_EQ(StoredDword(app, "Test3D", "Version"), 2u);
    std::string name;
    EXPECT_TRUE(app.ReadString("Player\\Name", name));
    EXPECT_EQ(name, "Ann Lee");
    int n = 0;
    EXPECT_FALSE(app.ReadInteger("Player\\Name", n));
    EXPECT_TRUE(app.DeleteValue("Test3D\\Version"));
    EXPECT_TRUE(app.DeleteValue("Test3D\\Version"));  // missing is not an error
    EXPECT_FALSE(app.ReadInteger("Test3D\\Version", n));
    uint8_t small[2];
    size_t length = sizeof small;
    uint32_t type = 0;
    EXPECT_FALSE(app.ReadData("Player\\Name", small, length, type));  // does not fit
}

}  // namespace

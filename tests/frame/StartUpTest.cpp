// Start-up, window placement and shutdown of the application object.
#include <gtest/gtest.h>

#include "TestApp.h"
#include "files/PakBuilder.h"
#include "files/PakInterface.h"
#include "files/TempDir.h"
#include "frame/WindowPlacement.h"

using namespace Zarvo;
using ZarvoTest::TestApp;

namespace {

struct PlaceCase {
    const char* name;
    PlatformRect area;
    int preferredX, preferredY;
    int x, y;
};

class Placement : public testing::TestWithParam<PlaceCase> {};

TEST_P(Placement, OfA640By480Window) {
    const PlaceCase& c = GetParam();
    int x = 0, y = 0;
    WindowPlacement::Place(c.area, 640, 480, c.preferredX, c.preferredY, x, y);
    EXPECT_EQ(x, c.x);
    EXPECT_EQ(y, c.y);
}

INSTANTIATE_TEST_SUITE_P(
    WindowPlacement, Placement,
    testing::Values(
        // Free height 1024 - 480 = 544; 544 * 0.382 = 207.8 -> 207.
        PlaceCase{"CentredAtGoldenHeight", {0, 0, 1280, 1024}, -1, -1, 320, 207},
        // Work area below a 30-pixel panel: 738 - 480 = 258; 258 * 0.382 = 98.556 -> 98.
        PlaceCase{"CentredBelowAPanel", {0, 30, 1366, 738}, -1, -1, 363, 128},
        PlaceCase{"RememberedInside", {0, 0, 1280, 1024}, 100, 200, 100, 200},
        PlaceCase{"OffTheLeftAndTop", {0, 0, 1280, 1024}, -300, -50, 4, 4},
        // Right edge: 1280 - 4 - 640 = 636; bottom: 1024 - 4 - 480 = 540.
        PlaceCase{"OffTheRightAndBottom", {0, 0, 1280, 1024}, 1000, 900, 636, 540},
        PlaceCase{"SecondMonitorOffset", {1280, 0, 1920, 1080}, 10, 10, 1284, 10},
        // Larger than the area: right and bottom are applied last and win.
        PlaceCase{"AreaTooSmall", {0, 0, 600, 400}, 50, 50, -44, -84}),
    [](const testing::TestParamInfo<PlaceCase>& info) { return std::string(info.param.name); });

TEST(StartUp, InitCreatesAHiddenWindowThatStartShows) {
    TestApp app;
    app.Init();
    ASSERT_NE(app.hp.window, nullptr);
    EXPECT_EQ(app.hp.window->placement.title, "ZarvoApp");
    EXPECT_EQ(app.hp.window->placement.clientWidth, 640);
    EXPECT_EQ(app.hp.window->placement.clientHeight, 480);
    EXPECT_FALSE(app.hp.window->visible);
    EXPECT_EQ(app.GetDisplay()->Width(), 640);
    EXPECT_TRUE(app.IsInitialized());
    bool visibleWhileRunning = false;
    app.onUpdate = [&](TestApp& a) {
        visibleWhileRunning = a.hp.window->visible;
        a.Quit();
    };
    app.Start();
    EXPECT_TRUE(visibleWhileRunning);
    EXPECT_FALSE(app.hp.window->visible);  // hidden by Quit
}

TEST(StartUp, ADesktopTooSmallForTheWindowStartsInFullScreen) {
    TestApp app;
    app.hp.workArea = {0, 0, 800, 460};
    app.Init();
    EXPECT_FALSE(app.windowed);
    EXPECT_TRUE(app.forceFullScreen);
    EXPECT_TRUE(app.hp.window->placement.fullScreen);
}

TEST(StartUp, ARememberedPositionPartlyOffScreenIsPulledBack) {
    TestApp app;
    app.preferredX = 900;
    app.preferredY = -20;
    app.Init();
    EXPECT_EQ(app.hp.window->placement.x, 1280 - 4 - 640);
    EXPECT_EQ(app.hp.window->placement.y, 4);
}

TEST(StartUp, ColourDepthRefusedInAWindowFallsBackToFullScreen) {
    TestApp app;
    app.hp.displayResults = {DisplayBackend::kResultInvalidColorDepth};
    app.Init();
    EXPECT_FALSE(app.windowed);
    EXPECT_TRUE(app.IsInitialized());
}

TEST(StartUp, FullScreenRefusedFallsBackToAWindow) {
    TestApp app;
    app.windowed = false;
    app.hp.displayResults = {DisplayBackend::kResultDisplayChangeFail};
    app.Init();
    EXPECT_TRUE(app.windowed);
    EXPECT_TRUE(app.forceWindowed);
}

TEST(StartUp, QuitTwiceDoesItsWorkOnceAndFromAnotherThreadOnlyAsks) {
    TestApp app;
    app.registryKey = "K";
    app.InitAndLoad();
    std::thread([&app] { app.Quit(); }).join();
    EXPECT_FALSE(app.IsShutDown());
    app.StepUntilUpdated();  // the loop carries the request out
    EXPECT_TRUE(app.IsShutDown());
    const int writes = app.hp.settings.writeCount;
    app.Quit();
    EXPECT_EQ(app.hp.settings.writeCount, writes);
}

TEST(StartUp, InitOpensTheArchiveLayer) {
    TestApp app;
    app.Init();
    EXPECT_NE(PakInterface::Instance(), nullptr);
}

TEST(StartUp, DeletingWithoutStartReleasesEverything) {
    auto app = std::make_unique<TestApp>();
    app->Init();
    EXPECT_EQ(ZarvoAppBase::Instance(), app.get());
    app.reset();
    EXPECT_EQ(ZarvoAppBase::Instance(), nullptr);
}

TEST(StartUp, ARefusedPackFileIsNamedWithItsReasonAndLooseFilesServe) {
    TempDir dir;
    dir.Enter();
    PakBuilder builder;
    builder.AddFile("properties\\resources.xml", Bytes("<ResourceManifest/>"));
    std::vector<uint8_t> archive = builder.Build();
    archive.resize(archive.size() - 5);  // a download cut short
    dir.Write("main.pak", archive);
    dir.Write("properties/resources.xml", "loose");
    TestApp app;
    app.Init();
    const std::string note =
        "The pack file main.pak was refused: its entries reach past the end of the file "
        "(truncated).";
    EXPECT_NE(app.hp.debugText.find(note), std::string::npos) << app.hp.debugText;
    // Whatever fails later says it too.
    app.Popup("Resource file not found: properties\\resources.xml");
    ASSERT_FALSE(app.hp.messageBoxes.empty());
    EXPECT_EQ(app.hp.messageBoxes.back(),
              "FATAL ERROR: Resource file not found: properties\\resources.xml\n" + note);
    PakFile* loose = PakInterface::Instance()->FOpen("properties\\resources.xml", "rb");
    ASSERT_NE(loose, nullptr);
    char text[8] = {};
    EXPECT_EQ(PakInterface::Instance()->FRead(text, 1, 5, loose), 5u);
    EXPECT_STREQ(text, "loose");
    PakInterface::Instance()->FClose(loose);
}

using StartUpDeathTest = testing::Test;

TEST(StartUpDeathTest, NoDisplayShowsWhatIsMissingAndExitsWithOne) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    TestApp app;
    app.hp.displayAvailable = false;
    EXPECT_EXIT(app.Init(), testing::ExitedWithCode(1),
                "No display available: This application requires a graphical display(.|\n)*"
                "Cannot open a display");
}

TEST(StartUpDeathTest, DisplayInitialisationFailureExitsWithOne) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    TestApp app;
    app.hp.displayResults = {DisplayBackend::kResultCreateFail};
    EXPECT_EXIT(
        app.Init(), testing::ExitedWithCode(1),
        "FATAL ERROR: Failed to initialize the display: RESULT_DD_CREATE_FAIL Initialize: ");
}

TEST(StartUpDeathTest, ColourDepthRefusedAgainAfterFullScreenWasTriedExitsWithOne) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    TestApp app;
    app.hp.displayResults = {DisplayBackend::kResultInvalidColorDepth,
                             DisplayBackend::kResultDisplayChangeFail,
                             DisplayBackend::kResultInvalidColorDepth};
    EXPECT_EXIT(app.Init(), testing::ExitedWithCode(1),
                "FATAL ERROR: Please set your desktop color depth to 16 bit.");
}

TEST(StartUpDeathTest, ASecondCopyNotifiesTheFirstAndExitsWithZero) {
    // Forked, the dying copy sees the lock the test holds.
    GTEST_FLAG_SET(death_test_style, "fast");
    char folder[] = "/tmp/zarvo-guard-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    SingleInstanceGuard first(folder, "Product");
    ASSERT_TRUE(first.Acquire());
    TestApp app;
    app.hp.guardFolder = folder;
    EXPECT_EXIT(app.Init(), testing::ExitedWithCode(0), "");
    uint64_t w = 1;
    int64_t l = 1;
    EXPECT_TRUE(first.PollNotify(w, l));
    EXPECT_EQ(w, 0u);
    EXPECT_EQ(l, 0);
}

}  // namespace

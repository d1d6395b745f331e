// The game application on the headless platform: its identity, the dialog factory, and start-up
// with the generated data (complete, with one image missing, and shut down while loading).
#include "game/GameApp.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "files/TempDir.h"
#include "game/Board.h"
#include "game/FakeGameResources.h"
#include "game/ResourceIds.h"
#include "game/screens/GUISystem.h"
#include "game/screens/GameTestApp.h"
#include "game/screens/ScreenIds.h"
#include "graphics/ScreenImage.h"
#include "widgets/Dialog.h"
#include "widgets/WidgetManager.h"

namespace Kelvane {
namespace {

namespace fs = std::filesystem;
using testing::GameTestApp;

const fs::path kGameData = fs::path(KELVANE_BINARY_DIR) / "gamedata";

TEST(GameAppTest, NamesItselfAndChoosesItsOptions) {
    GameTestApp app;
    EXPECT_EQ(app.productName, "Kelvane");
    EXPECT_EQ(app.productVersion, "1.0");
    EXPECT_EQ(app.title, "Kelvane - 1.0");
    EXPECT_EQ(app.registryKey, "Orlend\\Kelvane\\Kelvane1.0");
    EXPECT_EQ(app.width, 640);
    EXPECT_EQ(app.height, 480);
    EXPECT_TRUE(app.refreshPacedUpdates);
    EXPECT_TRUE(app.musicDisabled);
    EXPECT_EQ(app.board(), nullptr);
    EXPECT_EQ(app.gui(), nullptr);
}

TEST(GameAppTest, DialogsFromTheFactoryHaveTheGameLook) {
    GameTestApp app;
    testing::FakeGameResources resources;
    ASSERT_TRUE(extractInitResources(resources));
    ASSERT_TRUE(extractGameResources(resources));
    std::unique_ptr<Zarvo::Dialog> dialog(
        app.MakeDialog(7, true, "Header", "Lines", "", Zarvo::Dialog::BUTTONS_YES_NO));
    EXPECT_EQ(dialog->x, 100);
    EXPECT_EQ(dialog->y, 100);
    EXPECT_EQ(dialog->width, 300);
    EXPECT_EQ(dialog->height, 250);
    EXPECT_EQ(dialog->id, 7);
    EXPECT_TRUE(dialog->isModal);
    EXPECT_EQ(dialog->spaceAfterHeader, 30);
    EXPECT_EQ(dialog->componentImage, IMAGE_BASIC_DIALOG_BACKGROUND);
    for (int slot : {0, 1, 2, 3, 4})
        EXPECT_EQ(dialog->PaletteEntry(slot), Zarvo::Color(0, 0, 0, 255)) << slot;
    dialog.reset();
    clearResourceIds();
}

// A folder with the generated data, its manifest optionally without one line; the test runs in
// it.
class GameDataFolder {
public:
    explicit GameDataFolder(const std::string& dropLineWith = "") {
        for (const char* part : {"fonts", "images", "sounds", "music"})
            fs::create_directory_symlink(kGameData / part, folder.Path() / part);
        std::ifstream in(kGameData / "properties" / "resources.xml");
        std::stringstream kept;
        for (std::string line; std::getline(in, line);)
            if (dropLineWith.empty() || line.find(dropLineWith) == std::string::npos)
                kept << line << "\n";
        folder.Write("properties/resources.xml", kept.str());
        folder.Enter();
    }

private:
    TempDir folder;
};

// Start-up as the real run does it, with the loading work done on the test's own thread.
void startAndLoad(GameTestApp& app) {
    app.Init();
    ASSERT_FALSE(app.IsShutDown()) << app.hp.debugText;
    ASSERT_GT(app.numLoadingThreadTasks, 100);
    app.LoadResourcesInBackground();
    app.LoadingCompleted();
}

TEST(GameAppTest, LoadsBothGroupsAndPutsTheBoardOnScreen) {
    ASSERT_TRUE(fs::exists(kGameData / "properties" / "resources.xml"));
    GameDataFolder data;
    GameTestApp app;
    startAndLoad(app);
    EXPECT_FALSE(app.loadingFailed());
    EXPECT_EQ(app.completedLoadingThreadTasks, app.numLoadingThreadTasks);
    for (int32_t id = 0; id < RESOURCE_ID_COUNT; ++id)
        EXPECT_NE(getResourceById(id), nullptr) << kResourceNames[id];
    ASSERT_NE(app.board(), nullptr);
    EXPECT_TRUE(app.GetWidgetManager()->HasChild(app.board()));
    EXPECT_EQ(app.board()->width, 640);
    EXPECT_EQ(app.board()->height, 480);
    ASSERT_NE(app.gui(), nullptr);
    EXPECT_EQ(app.gui()->currentScreenId(), SCREEN_ORLEND);

    // The splash is drawn from the data: black while it is still transparent, its picture once
    // it has faded in.
    auto centre = [&app] {
        Zarvo::ScreenImage* screen = app.GetScreenImage();
        return screen->GetBits()[240 * screen->GetPitch() + 320] & 0x00FFFFFF;
    };
    app.UpdateOnce();
    app.DrawIfDirty();
    EXPECT_EQ(centre(), 0u);
    for (int i = 0; i < 200; ++i) app.UpdateOnce();
    app.DrawIfDirty();
    EXPECT_NE(centre(), 0u);
    for (int i = 0; i < 1000 && app.gui()->currentScreenId() != SCREEN_START; ++i) app.UpdateOnce();
    EXPECT_EQ(app.gui()->currentScreenId(), SCREEN_START);
}

TEST(GameAppTest, AManifestWithoutTheYesButtonShowsTheErrorAndRunsWithoutABoard) {
    GameDataFolder data("IMAGE_YES_BUTTON");
    GameTestApp app;
    startAndLoad(app);
    EXPECT_TRUE(app.loadingFailed());
    EXPECT_EQ(app.board(), nullptr);
    EXPECT_FALSE(app.IsShutDown());
    ASSERT_EQ(app.hp.messageBoxes.size(), 1u);
    EXPECT_NE(app.hp.messageBoxes[0].find("IMAGE_YES_BUTTON"), std::string::npos)
        << app.hp.messageBoxes[0];
    for (int32_t id = kFirstImageId; id < RESOURCE_ID_COUNT; ++id) {
        if (id == Res::IMAGE_YES_BUTTON) continue;
        EXPECT_NE(getImageById(id), nullptr) << kResourceNames[id];
    }
    EXPECT_EQ(IMAGE_YES_BUTTON, nullptr);
    for (int i = 0; i < 10; ++i) app.UpdateOnce();
    app.DrawIfDirty();
    EXPECT_EQ(app.GetWidgetManager()->children.size(), 0u);
}

TEST(GameAppTest, AShutdownWhileLoadingStopsTheLoopWithoutBinding) {
    GameDataFolder data;
    GameTestApp app;
    app.Init();
    ASSERT_FALSE(app.IsShutDown());
    app.Quit();
    app.LoadResourcesInBackground();
    EXPECT_EQ(app.completedLoadingThreadTasks, 1);
    EXPECT_EQ(IMAGE_EXIT_BUTTON, nullptr);
    app.LoadingCompleted();
    EXPECT_EQ(app.board(), nullptr);
}

TEST(GameAppTest, AMissingManifestIsFatal) {
    TempDir empty;
    empty.Enter();
    GameTestApp app;
    app.Init();
    EXPECT_TRUE(app.startFailed());
    EXPECT_TRUE(app.IsShutDown());
    ASSERT_EQ(app.hp.messageBoxes.size(), 1u);
    EXPECT_EQ(app.hp.messageBoxes[0].rfind("FATAL ERROR: ", 0), 0u) << app.hp.messageBoxes[0];
}

}  // namespace
}  // namespace Kelvane

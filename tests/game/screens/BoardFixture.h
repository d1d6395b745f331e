// The real game application on the headless platform with every resource id bound to a small
// fake, its Board made and a fresh folder as its data folder: the screens and dialogs run as in
// the game, without data files or a window.
#pragma once

#include <gtest/gtest.h>

#include "files/TempDir.h"
#include "game/Board.h"
#include "game/FakeGameResources.h"
#include "game/ResourceIds.h"
#include "game/screens/GUISystem.h"
#include "game/screens/GameTestApp.h"
#include "game/screens/Screen.h"
#include "game/tour/PlayState.h"
#include "widgets/WidgetManager.h"

namespace Kelvane::testing {

class BoardFixture : public ::testing::Test {
protected:
    void SetUp() override {
        PlayState::release();
        ASSERT_TRUE(extractInitResources(resources));
        ASSERT_TRUE(extractGameResources(resources));
        app.appDataFolder = dataFolder.Path().string() + "/";
        app.createBoard();
        ASSERT_NE(app.gui(), nullptr);
    }
    void TearDown() override { PlayState::release(); }
    ~BoardFixture() override { clearResourceIds(); }

    GUISystem& gui() { return *app.gui(); }
    template <class S>
    S& screen(int32_t number) {
        return *static_cast<S*>(gui().screenFor(number));
    }
    void updates(int n) {
        for (int i = 0; i < n; ++i) app.UpdateOnce();
    }
    // A click as the window delivers it: press and release at (x, y) of the game area.
    void click(int x, int y) {
        Zarvo::WidgetManager* manager = app.GetWidgetManager();
        manager->PointerMoved(x, y);
        manager->PointerPressed(x, y, 1);
        manager->PointerReleased(x, y, 1);
    }
    // The centre of the first object with `id` on the current screen.
    void clickObject(int32_t id) {
        ScreenObject* object = gui().currentScreen()->findObject(id);
        ASSERT_NE(object, nullptr) << id;
        click(static_cast<int>(object->x + object->width / 2),
              static_cast<int>(object->y + object->height / 2));
    }

    FakeGameResources resources;
    TempDir dataFolder;
    GameTestApp app;
};

}  // namespace Kelvane::testing

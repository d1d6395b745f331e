// The start menu: start (to the game type choice), the menu dialog and quit.
#pragma once

#include "game/screens/Screen.h"

namespace Kelvane {

class StartScreen : public Screen {
public:
    ScreenObject* cover = nullptr;  // shown while the menu or one of its dialogs is up

    StartScreen(GameApp& app, GUISystem& gui);

    void init() override;
    void onEvent(int32_t id, void* param) override;
};

}  // namespace Kelvane

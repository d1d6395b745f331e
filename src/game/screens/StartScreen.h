// The start menu. For now it shows its background.
#pragma once

#include "game/screens/Screen.h"

namespace Kelvane {

class StartScreen : public Screen {
public:
    StartScreen(GameApp& app, GUISystem& gui);

    void init() override;
};

}  // namespace Kelvane

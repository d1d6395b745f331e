// The match. For now it shows its background.
#pragma once

#include "game/screens/Screen.h"

namespace Kelvane {

class MainScreen : public Screen {
public:
    MainScreen(GameApp& app, GUISystem& gui);

    void init() override;
};

}  // namespace Kelvane

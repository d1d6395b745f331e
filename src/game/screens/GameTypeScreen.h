// The choice between a friendly match and the world tour. For now it shows its background.
#pragma once

#include "game/screens/Screen.h"

namespace Kelvane {

class GameTypeScreen : public Screen {
public:
    GameTypeScreen(GameApp& app, GUISystem& gui);

    void init() override;
};

}  // namespace Kelvane

// Where the player picks a nation for the world tour. For now it shows its background.
#pragma once

#include "game/screens/Screen.h"

namespace Kelvane {

class TeamPickingScreen : public Screen {
public:
    TeamPickingScreen(GameApp& app, GUISystem& gui);

    void init() override;
};

}  // namespace Kelvane

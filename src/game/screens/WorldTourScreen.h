// The world tour map. For now it shows its background.
#pragma once

#include "game/screens/Screen.h"

namespace Kelvane {

class WorldTourScreen : public Screen {
public:
    WorldTourScreen(GameApp& app, GUISystem& gui);

    void init() override;
};

}  // namespace Kelvane

// The choice between a friendly match and the world tour; a saved tour may be resumed here.
#pragma once

#include "game/screens/Screen.h"

namespace Kelvane {

class GameTypeScreen : public Screen {
public:
    ScreenObject* cover = nullptr;  // a fresh one on every visit

    GameTypeScreen(GameApp& app, GUISystem& gui);

    void init() override;
    void enter() override;
    void onEvent(int32_t id, void* param) override;
};

}  // namespace Kelvane

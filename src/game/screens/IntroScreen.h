// A placeholder menu that is current only for the instant before the first switch.
#pragma once

#include "game/screens/Screen.h"

namespace Kelvane {

class IntroScreen : public Screen {
public:
    IntroScreen(GameApp& app, GUISystem& gui);

    void init() override;
    void onEvent(int32_t id, void* param) override;
};

}  // namespace Kelvane

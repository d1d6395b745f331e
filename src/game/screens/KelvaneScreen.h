// The title splash: it gives way to the start screen.
#pragma once

#include "game/screens/SplashScreen.h"

namespace Kelvane {

class KelvaneScreen : public SplashScreen {
public:
    KelvaneScreen(GameApp& app, GUISystem& gui);
};

}  // namespace Kelvane

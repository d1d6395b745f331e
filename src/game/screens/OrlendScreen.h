// The maker splash: the first screen the player sees; it gives way to the title splash.
#pragma once

#include "game/screens/SplashScreen.h"

namespace Kelvane {

class OrlendScreen : public SplashScreen {
public:
    OrlendScreen(GameApp& app, GUISystem& gui);
};

}  // namespace Kelvane

#include "game/screens/OrlendScreen.h"

#include "game/ResourceIds.h"
#include "game/screens/ScreenIds.h"

namespace Kelvane {

OrlendScreen::OrlendScreen(GameApp& app, GUISystem& gui)
    : SplashScreen(app, gui, Res::IMAGE_ORLEND_SCREEN_BACKGROUND, SCREEN_KELVANE) {}

}  // namespace Kelvane

#include "game/screens/KelvaneScreen.h"

#include "game/ResourceIds.h"
#include "game/screens/ScreenIds.h"

namespace Kelvane {

KelvaneScreen::KelvaneScreen(GameApp& app, GUISystem& gui)
    : SplashScreen(app, gui, Res::IMAGE_KELVANE_SCREEN_BACKGROUND, SCREEN_START) {}

}  // namespace Kelvane

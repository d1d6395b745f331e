#include "game/screens/MainScreen.h"

#include "game/ResourceIds.h"

namespace Kelvane {

MainScreen::MainScreen(GameApp& app, GUISystem& gui) : Screen(app, gui) {}

void MainScreen::init() {
    setBackgroundImage(Res::IMAGE_MAIN_SCREEN_BACKGROUND);
}

}  // namespace Kelvane

#include "game/screens/StartScreen.h"

#include "game/ResourceIds.h"

namespace Kelvane {

StartScreen::StartScreen(GameApp& app, GUISystem& gui) : Screen(app, gui) {}

void StartScreen::init() {
    setBackgroundImage(Res::IMAGE_START_SCREEN_BACKGROUND);
}

}  // namespace Kelvane

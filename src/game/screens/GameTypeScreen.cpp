#include "game/screens/GameTypeScreen.h"

#include "game/ResourceIds.h"

namespace Kelvane {

GameTypeScreen::GameTypeScreen(GameApp& app, GUISystem& gui) : Screen(app, gui) {}

void GameTypeScreen::init() {
    setBackgroundImage(Res::IMAGE_GAME_TYPE_SCREEN_BACKGROUND);
}

}  // namespace Kelvane

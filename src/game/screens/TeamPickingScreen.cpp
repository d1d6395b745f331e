#include "game/screens/TeamPickingScreen.h"

#include "game/ResourceIds.h"

namespace Kelvane {

TeamPickingScreen::TeamPickingScreen(GameApp& app, GUISystem& gui) : Screen(app, gui) {}

void TeamPickingScreen::init() {
    setBackgroundImage(Res::IMAGE_TEAM_PICKING_SCREEN_BACKGROUND);
}

}  // namespace Kelvane

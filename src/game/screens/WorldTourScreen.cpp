#include "game/screens/WorldTourScreen.h"

#include "game/ResourceIds.h"

namespace Kelvane {

WorldTourScreen::WorldTourScreen(GameApp& app, GUISystem& gui) : Screen(app, gui) {}

void WorldTourScreen::init() {
    setBackgroundImage(Res::IMAGE_WORLD_TOUR_SCREEN_BACKGROUND);
}

}  // namespace Kelvane

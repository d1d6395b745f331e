#include "game/screens/IntroScreen.h"

#include "diagnostics/AllocationTracker.h"
#include "game/ResourceIds.h"
#include "game/screens/GUISystem.h"
#include "game/screens/ScreenIds.h"

namespace Kelvane {

namespace {
// A number that names no screen: switching to it leaves and re-enters the intro screen.
constexpr int32_t kNoScreen = 11;
}  // namespace

IntroScreen::IntroScreen(GameApp& app, GUISystem& gui) : Screen(app, gui) {}

void IntroScreen::init() {
    setBackgroundImage(Res::IMAGE_START_SCREEN_BACKGROUND);
    struct Button {
        float x, y;
        int32_t image, id;
    };
    // The exit and options buttons have no effect.
    const Button buttons[] = {{20, 20, Res::IMAGE_PLAY_BUTTON, EVENT_PLAY_OR_PIECE},
                              {20, 200, Res::IMAGE_EXIT_BUTTON, EVENT_INTRO_EXIT},
                              {20, 100, Res::IMAGE_OPTIONS_BUTTON, EVENT_INTRO_OPTIONS},
                              {20, 300, Res::IMAGE_OPTIONS_BUTTON, EVENT_INTRO_FOURTH}};
    for (const Button& b : buttons) addPermanent(makeButton(b.x, b.y, b.image, b.id));
}

void IntroScreen::onEvent(int32_t id, void*) {
    if (id == EVENT_PLAY_OR_PIECE)
        gui.switchTo(SCREEN_ORLEND);
    else if (id == EVENT_INTRO_FOURTH)
        gui.switchTo(kNoScreen);
}

}  // namespace Kelvane

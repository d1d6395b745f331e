#include "game/screens/SplashScreen.h"

#include "game/screens/GUISystem.h"
#include "game/screens/ScreenIds.h"

namespace Kelvane {

namespace {
constexpr int32_t kFadeInterval = 10;  // the first ten steps are eleven updates apart
constexpr int32_t kFadeInStep = 5;
constexpr int32_t kFadeOutStep = 2;
constexpr int32_t kHoldSteps = 300;
}  // namespace

SplashScreen::SplashScreen(GameApp& app, GUISystem& gui, int32_t imageId, int32_t nextScreen)
    : Screen(app, gui), image(imageId), next(nextScreen) {}

void SplashScreen::init() {
    background = findObject(OBJECT_BACKGROUND);
    background->hasImage = true;
    background->imageId = image;
    background->clickable = false;
    background->startFade(kFadeInterval, true, kFadeInStep, true, kFadeOutStep, true, kHoldSteps);
    background->alpha = 0;
    waitFadeInEnd = true;
    waitFadeOutEnd = false;
}

void SplashScreen::update() {
    Screen::update();
    if (waitFadeInEnd && !background->fader->fadingIn) {
        background->clickable = true;
        waitFadeInEnd = false;
        waitFadeOutEnd = true;
    }
    if (waitFadeOutEnd && !background->fader->fadingOut) {
        background->clickable = false;
        waitFadeOutEnd = false;
        gui.switchTo(next);
    }
}

void SplashScreen::onEvent(int32_t id, void*) {
    if (id == OBJECT_BACKGROUND) gui.switchTo(next);
}

}  // namespace Kelvane

// A splash screen: its background fades in, holds and fades out, then the next screen comes.
// From the end of the fade-in to the end of the fade-out a click on it skips to the next screen.
// The fade is configured once; it runs only while the screen is current, so it starts when the
// screen is entered.
#pragma once

#include <cstdint>

#include "game/screens/Screen.h"

namespace Kelvane {

class SplashScreen : public Screen {
public:
    bool waitFadeOutEnd = false;
    bool waitFadeInEnd = false;
    ScreenObject* background = nullptr;  // the background object (owned by the permanent list)

    SplashScreen(GameApp& app, GUISystem& gui, int32_t imageId, int32_t nextScreen);

    void init() override;
    void update() override;
    void onEvent(int32_t id, void* param) override;

    int32_t nextScreen() const { return next; }

private:
    int32_t image;
    int32_t next;
};

}  // namespace Kelvane

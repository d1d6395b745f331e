// The game application on the headless platform, for tests of the screens and the application
// without a window.
#pragma once

#include <memory>

#include "game/GameApp.h"
#include "platform/HeadlessPlatform.h"

namespace Kelvane::testing {

class GameTestApp : public GameApp {
public:
    GameTestApp()
        : GameApp(std::make_unique<Zarvo::HeadlessPlatform>()),
          hp(static_cast<Zarvo::HeadlessPlatform&>(GetPlatform())) {}

    Zarvo::HeadlessPlatform& hp;
};

}  // namespace Kelvane::testing

// The screen switcher: owns the eight screens, knows which one is current and hands it the
// board's updates, drawing, input and every screen event. Screens switch by number.
#pragma once

#include <cstdint>
#include <memory>

#include "game/screens/ScreenIds.h"
#include "game/screens/ScreenObject.h"

namespace Kelvane {

class GameApp;
class Screen;
class IntroScreen;
class OrlendScreen;
class KelvaneScreen;
class StartScreen;
class TeamPickingScreen;
class MainScreen;
class GameTypeScreen;
class WorldTourScreen;

class GUISystem {
public:
    explicit GUISystem(GameApp& app);
    // Deletes the eight screens.
    ~GUISystem();
    GUISystem(const GUISystem&) = delete;
    GUISystem& operator=(const GUISystem&) = delete;

    // Creates and initialises the screens, then enters the maker splash. Runs once.
    void init();
    // Leaves the current screen (its visit objects are deleted), stores `number` and, when the
    // number names a screen, makes it current; then enters the current screen. A number without
    // a screen re-enters the current one.
    void switchTo(int32_t number);
    // Delivers an event to the current screen; nothing when there is none.
    void sendEvent(int32_t id, void* param);

    void update();
    void draw(DrawList& list);
    void mouseMove(int x, int y);
    void mouseDrag(int x, int y);
    void mouseDown(int x, int y);
    void mouseUp(int x, int y);

    int32_t currentScreenId() const { return screenId; }
    Screen* currentScreen() const { return current; }
    // The class name of the screen of a number, or null when the number names none.
    static const char* screenName(int32_t number);
    // The screen of a number, or null when the number names none.
    Screen* screenFor(int32_t number) const;
    // Makes `screen` (owned elsewhere) current under `number` without entering it; for tests
    // and tools that drive one screen of their own.
    void makeCurrent(Screen* screen, int32_t number) {
        current = screen;
        screenId = number;
    }

private:
    GameApp& app;
    std::unique_ptr<IntroScreen> introScreen;
    std::unique_ptr<OrlendScreen> orlendScreen;
    std::unique_ptr<KelvaneScreen> kelvaneScreen;
    std::unique_ptr<StartScreen> startScreen;
    std::unique_ptr<TeamPickingScreen> teamPickingScreen;
    std::unique_ptr<MainScreen> mainScreen;
    std::unique_ptr<GameTypeScreen> gameTypeScreen;
    std::unique_ptr<WorldTourScreen> worldTourScreen;
    Screen* current = nullptr;
    int32_t screenId = 0;
};

}  // namespace Kelvane

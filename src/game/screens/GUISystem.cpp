#include "game/screens/GUISystem.h"

#include "diagnostics/AllocationTracker.h"
#include "game/screens/GameTypeScreen.h"
#include "game/screens/IntroScreen.h"
#include "game/screens/KelvaneScreen.h"
#include "game/screens/MainScreen.h"
#include "game/screens/OrlendScreen.h"
#include "game/screens/StartScreen.h"
#include "game/screens/TeamPickingScreen.h"
#include "game/screens/WorldTourScreen.h"

namespace Kelvane {

GUISystem::GUISystem(GameApp& application) : app(application) {}

GUISystem::~GUISystem() {
    // Nothing may reach a screen while the screens go.
    current = nullptr;
}

void GUISystem::init() {
    introScreen.reset(KNEW IntroScreen(app, *this));
    startScreen.reset(KNEW StartScreen(app, *this));
    mainScreen.reset(KNEW MainScreen(app, *this));
    orlendScreen.reset(KNEW OrlendScreen(app, *this));
    kelvaneScreen.reset(KNEW KelvaneScreen(app, *this));
    teamPickingScreen.reset(KNEW TeamPickingScreen(app, *this));
    gameTypeScreen.reset(KNEW GameTypeScreen(app, *this));
    worldTourScreen.reset(KNEW WorldTourScreen(app, *this));

    introScreen->init();
    startScreen->init();
    mainScreen->init();
    orlendScreen->init();
    kelvaneScreen->init();
    teamPickingScreen->init();
    gameTypeScreen->init();
    worldTourScreen->init();

    current = introScreen.get();
    screenId = SCREEN_ORLEND;
    switchTo(SCREEN_ORLEND);
}

const char* GUISystem::screenName(int32_t number) {
    switch (number) {
        case SCREEN_INTRO:
            return "IntroScreen";
        case SCREEN_ORLEND:
            return "OrlendScreen";
        case SCREEN_KELVANE:
            return "KelvaneScreen";
        case SCREEN_START:
            return "StartScreen";
        case SCREEN_TEAM_PICKING:
            return "TeamPickingScreen";
        case SCREEN_MAIN:
            return "MainScreen";
        case SCREEN_GAME_TYPE:
            return "GameTypeScreen";
        case SCREEN_WORLD_TOUR:
            return "WorldTourScreen";
        default:
            return nullptr;
    }
}

Screen* GUISystem::screenFor(int32_t number) const {
    switch (number) {
        case SCREEN_INTRO:
            return introScreen.get();
        case SCREEN_ORLEND:
            return orlendScreen.get();
        case SCREEN_KELVANE:
            return kelvaneScreen.get();
        case SCREEN_START:
            return startScreen.get();
        case SCREEN_TEAM_PICKING:
            return teamPickingScreen.get();
        case SCREEN_MAIN:
            return mainScreen.get();
        case SCREEN_GAME_TYPE:
            return gameTypeScreen.get();
        case SCREEN_WORLD_TOUR:
            return worldTourScreen.get();
        default:
            return nullptr;
    }
}

void GUISystem::switchTo(int32_t number) {
    if (current) current->deleteVisitObjects();
    screenId = number;
    if (Screen* next = screenFor(number)) current = next;
    if (current) current->enter();
}

void GUISystem::sendEvent(int32_t id, void* param) {
    if (current) current->onEvent(id, param);
}

void GUISystem::update() {
    if (current) current->update();
}

void GUISystem::draw(DrawList& list) {
    if (current) current->collectDrawList(list);
}

void GUISystem::mouseMove(int x, int y) {
    if (current) current->onMouseMove(x, y);
}

void GUISystem::mouseDrag(int x, int y) {
    if (current) current->onMouseDrag(x, y);
}

void GUISystem::mouseDown(int x, int y) {
    if (current) current->onMouseDown(x, y);
}

void GUISystem::mouseUp(int x, int y) {
    if (current) current->onMouseUp(x, y);
}

}  // namespace Kelvane

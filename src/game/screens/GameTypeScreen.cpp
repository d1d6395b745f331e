#include "game/screens/GameTypeScreen.h"

#include "diagnostics/AllocationTracker.h"
#include "game/GameApp.h"
#include "game/ResourceIds.h"
#include "game/dialogs/SaveGameDialog.h"
#include "game/save/SaveGame.h"
#include "game/screens/GUISystem.h"
#include "game/screens/ScreenIds.h"
#include "game/tour/PlayState.h"

namespace Kelvane {

GameTypeScreen::GameTypeScreen(GameApp& app, GUISystem& gui) : Screen(app, gui) {}

void GameTypeScreen::init() {
    setBackgroundImage(Res::IMAGE_GAME_TYPE_SCREEN_BACKGROUND);
    addPermanent(makeButton(160, 165, Res::IMAGE_FRIENDLY_MATCH, EVENT_FRIENDLY_MATCH));
    addPermanent(makeButton(330, 165, Res::IMAGE_WORLD_TOUR, EVENT_WORLD_TOUR));
    addPermanent(makeButton(50, 420, Res::IMAGE_BACK_BUTTON, EVENT_BACK));
}

void GameTypeScreen::enter() {
    cover = addVisit(makeCover());
}

void GameTypeScreen::onEvent(int32_t id, void*) {
    PlayState& state = PlayState::instance();
    GamePlay& play = state.gamePlay;
    switch (id) {
        case EVENT_BACK:
            gui.switchTo(SCREEN_START);
            break;
        case EVENT_FRIENDLY_MATCH:
            play.startFriendly([this] { return app.Random(); });
            gui.switchTo(SCREEN_MAIN);
            break;
        case EVENT_WORLD_TOUR:
            if (app.saveGame().saveExists()) {
                setShown(cover, true);
                auto* question = KNEW SaveGameDialog(app, false);
                question->SetBounds(110, 170, 423, 143);
                app.AddDialog(SaveGameDialog::kDialogId, question);
            } else {
                play.startWorldTour();
                gui.switchTo(SCREEN_TEAM_PICKING);
            }
            break;
        case EVENT_DIALOG_CLOSED:
            setShown(cover, false);
            break;
        case EVENT_LOAD_NO:
            app.saveGame().deleteSave();
            play.startWorldTour();
            gui.switchTo(SCREEN_TEAM_PICKING);
            break;
        case EVENT_LOAD_YES:
            play.startWorldTour();
            gui.switchTo(app.saveGame().loadSave(play, state.profile) ? SCREEN_WORLD_TOUR
                                                                      : SCREEN_TEAM_PICKING);
            break;
        default:
            break;
    }
}

}  // namespace Kelvane

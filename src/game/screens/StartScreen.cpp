#include "game/screens/StartScreen.h"

#include "diagnostics/AllocationTracker.h"
#include "game/GameApp.h"
#include "game/ResourceIds.h"
#include "game/dialogs/MenuDialog.h"
#include "game/screens/GUISystem.h"
#include "game/screens/ScreenIds.h"

namespace Kelvane {

StartScreen::StartScreen(GameApp& app, GUISystem& gui) : Screen(app, gui) {}

void StartScreen::init() {
    setBackgroundImage(Res::IMAGE_START_SCREEN_BACKGROUND);
    addPermanent(makeButton(180, 60, Res::IMAGE_START_BUTTON, EVENT_START));
    addPermanent(makeButton(280, 60, Res::IMAGE_MENU_BUTTON, EVENT_MENU));
    addPermanent(makeButton(380, 60, Res::IMAGE_QUIT_BUTTON, EVENT_QUIT));
    cover = addPermanent(makeCover());
}

void StartScreen::onEvent(int32_t id, void*) {
    switch (id) {
        case EVENT_MENU: {
            setShown(cover, true);
            auto* menu = KNEW MenuDialog(app, "", "");
            menu->SetBounds(500, 50, 100, 300);
            app.AddDialog(MenuDialog::kDialogId, menu);
            break;
        }
        case EVENT_START:
            gui.switchTo(SCREEN_GAME_TYPE);
            break;
        case EVENT_QUIT:
            app.Quit();
            break;
        case EVENT_DIALOG_CLOSED:
            setShown(cover, false);
            break;
        default:
            break;
    }
}

}  // namespace Kelvane

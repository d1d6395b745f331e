#include "game/dialogs/SaveGameDialog.h"

#include "game/GameApp.h"
#include "game/ResourceIds.h"
#include "game/dialogs/QuitDialog.h"
#include "game/save/SaveGame.h"
#include "game/screens/ScreenIds.h"
#include "game/tour/PlayState.h"

namespace Kelvane {

SaveGameDialog::SaveGameDialog(GameApp& gameApp, bool save)
    : GameDialog(gameApp,
                 save ? IMAGE_SAVE_GAME_DIALOG_BACKGROUND : IMAGE_LOAD_GAME_DIALOG_BACKGROUND,
                 kDialogId, " ", " ", " ", Zarvo::Insets{5, 5, 5, 5}),
      saveMode(save) {
    addButton(IMAGE_YES_BUTTON, kYesButton);
    addButton(IMAGE_NO_BUTTON, kNoButton);
}

void SaveGameDialog::SetBounds(int newX, int newY, int newWidth, int newHeight) {
    GameDialog::SetBounds(newX, newY, newWidth, newHeight);
    QuitDialog::placeYesNo(*this, button(kYesButton), button(kNoButton));
}

void SaveGameDialog::ButtonDepress(int buttonId) {
    if (buttonId != kYesButton && buttonId != kNoButton) {
        Dialog::ButtonDepress(buttonId);
        return;
    }
    close(true);
    PlayState& play = PlayState::instance();
    if (buttonId == kYesButton) {
        if (saveMode) {
            // A save that failed has been shown to the player; the game goes on rather than
            // lose the tour, so that it can be saved again or left without saving.
            SaveGame& save = app.saveGame();
            if (save.writeSave(play.gamePlay, play.profile) ||
                !save.hasTourToSave(play.gamePlay, play.profile))
                app.Quit();
        } else {
            app.sendScreenEvent(EVENT_LOAD_YES, nullptr);
        }
    } else {
        if (saveMode) {
            app.saveGame().deleteSave();
            app.Quit();
        } else {
            app.sendScreenEvent(EVENT_LOAD_NO, nullptr);
        }
    }
}

}  // namespace Kelvane

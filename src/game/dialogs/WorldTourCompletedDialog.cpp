#include "game/dialogs/WorldTourCompletedDialog.h"

#include "game/GameApp.h"
#include "game/ResourceIds.h"

namespace Kelvane {

WorldTourCompletedDialog::WorldTourCompletedDialog(GameApp& gameApp)
    : GameDialog(gameApp, IMAGE_WORLD_TOUR_COMPLETED_DIALOG_BACKGROUND, kDialogId, " ", " ", " ",
                 Zarvo::Insets{15, 15, 15, 15}) {
    addButton(IMAGE_EXIT_BUTTON, kExitButton);
}

void WorldTourCompletedDialog::SetBounds(int newX, int newY, int newWidth, int newHeight) {
    GameDialog::SetBounds(newX, newY, newWidth, newHeight);
    placeBottomRight(button(kExitButton), IMAGE_EXIT_BUTTON, 0);
}

void WorldTourCompletedDialog::ButtonDepress(int buttonId) {
    if (buttonId == kExitButton)
        close(false);
    else
        Dialog::ButtonDepress(buttonId);
}

}  // namespace Kelvane

#include "game/dialogs/CreditsDialog.h"

#include "game/GameApp.h"
#include "game/ResourceIds.h"

namespace Kelvane {

CreditsDialog::CreditsDialog(GameApp& gameApp, const std::string& header, const std::string& text)
    : GameDialog(gameApp, IMAGE_CREDITS_DIALOG_BACKGROUND, kDialogId, header, text, " ",
                 Zarvo::Insets{15, 15, 15, 15}) {
    addButton(IMAGE_EXIT_BUTTON, kExitButton);
}

void CreditsDialog::SetBounds(int newX, int newY, int newWidth, int newHeight) {
    GameDialog::SetBounds(newX, newY, newWidth, newHeight);
    placeBottomRight(button(kExitButton), IMAGE_EXIT_BUTTON, 0);
}

void CreditsDialog::DrawSelf(Zarvo::Graphics* g) {
    // The names are part of the background picture.
    GameDialog::DrawSelf(g);
    useFont(g, FONT_DEFAULT);
}

void CreditsDialog::ButtonDepress(int buttonId) {
    if (buttonId == kExitButton)
        close(true);
    else
        Dialog::ButtonDepress(buttonId);
}

}  // namespace Kelvane

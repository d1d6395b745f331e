#include "game/dialogs/QuitDialog.h"

#include "diagnostics/AllocationTracker.h"
#include "game/GameApp.h"
#include "game/ResourceIds.h"
#include "game/dialogs/SaveGameDialog.h"
#include "game/screens/ScreenIds.h"
#include "game/tour/PlayState.h"
#include "graphics/MemoryImage.h"

namespace Kelvane {

QuitDialog::QuitDialog(GameApp& gameApp, const std::string& header, const std::string& text)
    : GameDialog(gameApp, IMAGE_QUIT_DIALOG_BACKGROUND, kDialogId, header, text, " ",
                 Zarvo::Insets{5, 5, 5, 5}) {
    addButton(IMAGE_YES_BUTTON, kYesButton);
    addButton(IMAGE_NO_BUTTON, kNoButton);
}

void QuitDialog::placeYesNo(GameDialog& d, Zarvo::Widget* yes, Zarvo::Widget* no) {
    const int yesHeight = IMAGE_YES_BUTTON != nullptr ? IMAGE_YES_BUTTON->GetHeight() : 0;
    const int noWidth = IMAGE_NO_BUTTON != nullptr ? IMAGE_NO_BUTTON->GetWidth() : 0;
    const int noHeight = IMAGE_NO_BUTTON != nullptr ? IMAGE_NO_BUTTON->GetHeight() : 0;
    placeAtImageSize(yes, IMAGE_YES_BUTTON, d.x + 5, d.y + d.height - 5 - yesHeight);
    placeAtImageSize(no, IMAGE_NO_BUTTON, d.x + d.width - 5 - noWidth,
                     d.y + d.height - 5 - noHeight);
}

void QuitDialog::SetBounds(int newX, int newY, int newWidth, int newHeight) {
    GameDialog::SetBounds(newX, newY, newWidth, newHeight);
    placeYesNo(*this, button(kYesButton), button(kNoButton));
}

void QuitDialog::ButtonDepress(int buttonId) {
    switch (buttonId) {
        case kYesButton: {
            const bool nothingToSave = app.currentScreenId() == SCREEN_START ||
                                       PlayState::instance().gamePlay.mode() == GameMode::Friendly;
            // The question leaves first, so that the modal layers come down in the order they
            // went up. No event: the cover stays for the save question.
            app.RemoveDialog(this);
            if (nothingToSave) {
                app.Quit();
            } else {
                auto* save = KNEW SaveGameDialog(app, true);
                save->SetBounds(110, 170, 423, 143);
                app.AddDialog(SaveGameDialog::kDialogId, save);
            }
            break;
        }
        case kNoButton:
            close(true);
            break;
        default:
            Dialog::ButtonDepress(buttonId);
            break;
    }
}

}  // namespace Kelvane

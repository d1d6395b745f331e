#include "game/dialogs/MenuDialog.h"

#include "diagnostics/AllocationTracker.h"
#include "game/GameApp.h"
#include "game/ResourceIds.h"
#include "game/dialogs/CreditsDialog.h"
#include "game/dialogs/OptionsDialog.h"
#include "game/dialogs/QuitDialog.h"
#include "game/dialogs/RulesDialog.h"
#include "graphics/MemoryImage.h"

namespace Kelvane {

MenuDialog::MenuDialog(GameApp& gameApp, const std::string& header, const std::string& text)
    : GameDialog(gameApp, IMAGE_MENU_DIALOG_BACKGROUND, kDialogId, header, text, "CLOSE",
                 Zarvo::Insets{10, 15, 5, 25}) {
    spaceAfterHeader = 0;
    addButton(IMAGE_OPTIONS_BUTTON, kOptionsButton);
    addButton(IMAGE_QUIT_BUTTON, kQuitButton);
    addButton(IMAGE_RULES_BUTTON, kRulesButton);
    addButton(IMAGE_EXIT_BUTTON, kExitButton);
    addButton(IMAGE_CREDITS_BUTTON, kCreditsButton);
}

void MenuDialog::SetBounds(int newX, int newY, int newWidth, int newHeight) {
    GameDialog::SetBounds(newX, newY, newWidth, newHeight);
    placeAtImageSize(button(kOptionsButton), IMAGE_OPTIONS_BUTTON, x + 10, y + 15);
    // Each further button takes the size of the one above it, one own image height lower.
    struct Step {
        int id;
        Zarvo::MemoryImage* image;
    };
    const Step order[] = {{kRulesButton, IMAGE_RULES_BUTTON},
                          {kCreditsButton, IMAGE_CREDITS_BUTTON},
                          {kQuitButton, IMAGE_QUIT_BUTTON},
                          {kExitButton, IMAGE_EXIT_BUTTON}};
    const Zarvo::Widget* above = button(kOptionsButton);
    for (const Step& step : order) {
        Zarvo::DialogButton* b = button(step.id);
        placeBelow(b, above, step.image != nullptr ? step.image->GetHeight() : 0);
        above = b;
    }
}

void MenuDialog::replaceBy(GameDialog* dialog, int dialogId, int atX, int atY, int atWidth,
                           int atHeight) {
    // The menu leaves first, so that the modal layers are taken down in the order they were
    // put up. No event: the cover stays for the new dialog, which reports its own closing.
    app.RemoveDialog(this);
    dialog->SetBounds(atX, atY, atWidth, atHeight);
    app.AddDialog(dialogId, dialog);
}

void MenuDialog::ButtonDepress(int buttonId) {
    switch (buttonId) {
        case kOptionsButton:
            // Taller than its picture by the volume sliders, and as centred.
            replaceBy(KNEW OptionsDialog(app, "", ""), OptionsDialog::kDialogId, 220, 110,
                      OptionsDialog::kWidth, OptionsDialog::kHeight);
            break;
        case kQuitButton:
            replaceBy(KNEW QuitDialog(app, "", ""), QuitDialog::kDialogId, 110, 170, 423, 143);
            break;
        case kRulesButton:
            replaceBy(KNEW RulesDialog(app, "", ""), RulesDialog::kDialogId, 50, 50, 540, 380);
            break;
        case kCreditsButton:
            replaceBy(KNEW CreditsDialog(app, "", ""), CreditsDialog::kDialogId, 170, 90, 300, 300);
            break;
        case kExitButton:
            close(true);
            break;
        default:
            Dialog::ButtonDepress(buttonId);
            break;
    }
}

}  // namespace Kelvane

#include "game/dialogs/OptionsDialog.h"

#include <memory>

#include "diagnostics/AllocationTracker.h"
#include "game/GameApp.h"
#include "game/ResourceIds.h"
#include "graphics/Graphics.h"
#include "graphics/MemoryImage.h"
#include "widgets/Checkbox.h"

namespace Kelvane {

OptionsDialog::OptionsDialog(GameApp& gameApp, const std::string& header, const std::string& text)
    : GameDialog(gameApp, IMAGE_OPTIONS_DIALOG_BACKGROUND, kDialogId, header, text, " ",
                 Zarvo::Insets{23, 20, 23, 20}) {
    spaceAfterHeader = 30;
    SetPaletteEntry(COLOR_FOOTER, Zarvo::Color(0, 0, 0, 255));
    addButton(IMAGE_EXIT_BUTTON, kExitButton);
    // One image holds both cels: unchecked on its left half, checked on its right half.
    checkbox = KNEW Zarvo::Checkbox(IMAGE_OPTIONS_DIALOG_CHECKBOX, IMAGE_OPTIONS_DIALOG_CHECKBOX,
                                    kFullScreenCheckbox, this);
    adoptWidget(std::unique_ptr<Zarvo::Widget>(checkbox));
}

void OptionsDialog::SetBounds(int newX, int newY, int newWidth, int newHeight) {
    GameDialog::SetBounds(newX, newY, newWidth, newHeight);
    placeBottomRight(button(kExitButton), IMAGE_EXIT_BUTTON, 0);
    placeAtImageSize(checkbox, IMAGE_OPTIONS_DIALOG_CHECKBOX, x + 23, y + 20 + 40);
}

void OptionsDialog::OnAttached(Zarvo::WidgetManager* m) {
    GameDialog::OnAttached(m);
    if (Zarvo::MemoryImage* cels = IMAGE_OPTIONS_DIALOG_CHECKBOX) {
        const int half = cels->GetWidth() / 2;
        checkbox->uncheckedRect = Zarvo::Rect(0, 0, half, cels->GetHeight());
        checkbox->checkedRect = Zarvo::Rect(half, 0, half, cels->GetHeight());
    }
    checkbox->SetChecked(!app.windowed, false);
}

void OptionsDialog::DrawSelf(Zarvo::Graphics* g) {
    GameDialog::DrawSelf(g);
    useFont(g, FONT_DEFAULT);
    g->DrawString("Full Screen", checkbox->x + checkbox->width - x,
                  checkbox->y + checkbox->height - y);
}

void OptionsDialog::ButtonDepress(int buttonId) {
    if (buttonId != kExitButton) {
        Dialog::ButtonDepress(buttonId);
        return;
    }
    app.ChangeScreenMode(!checkbox->IsChecked(), false, false);
    close(true);
}

void OptionsDialog::CheckboxChecked(int checkboxId, bool checked) {
    (void)checkboxId;
    if (checked || !app.fullScreenForced()) return;
    app.ShowDialog(kNoticeDialogId, true, kNoticeHeader, kNoticeText, kNoticeFooter,
                   BUTTONS_FOOTER);
    checkbox->SetChecked(true, true);
}

}  // namespace Kelvane

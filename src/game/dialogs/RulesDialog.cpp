#include "game/dialogs/RulesDialog.h"

#include "game/GameApp.h"
#include "game/ResourceIds.h"
#include "graphics/Graphics.h"
#include "graphics/MemoryImage.h"

namespace Kelvane {

RulesDialog::RulesDialog(GameApp& gameApp, const std::string& header, const std::string& text)
    : GameDialog(gameApp, IMAGE_RULES_DIALOG_BACKGROUND, kDialogId, header, text, "CLOSE",
                 Zarvo::Insets{23, 300, 23, 20}) {
    spaceAfterHeader = 30;
    addButton(IMAGE_BACK_BUTTON, kBackButton)->Show(false);
    addButton(IMAGE_NEXT_BUTTON, kNextButton);
    addButton(IMAGE_EXIT_BUTTON, kExitButton);
}

int RulesDialog::currentPage() const {
    for (int i = 0; i < kPageCount; ++i)
        if (pages[i]) return i + 1;
    return 1;
}

void RulesDialog::showPage(int page) {
    pages.fill(false);
    pages[page - 1] = true;
    Invalidate();
}

void RulesDialog::SetBounds(int newX, int newY, int newWidth, int newHeight) {
    GameDialog::SetBounds(newX, newY, newWidth, newHeight);
    placeAtImageSize(button(kBackButton), IMAGE_BACK_BUTTON, x + 23, y + 300);
    placeAtImageSize(button(kNextButton), IMAGE_NEXT_BUTTON, x + 23 + 400, y + 300);
    placeBelow(button(kExitButton), button(kNextButton), 0);
}

void RulesDialog::DrawSelf(Zarvo::Graphics* g) {
    GameDialog::DrawSelf(g);
    useFont(g, FONT_DEFAULT);
    static Zarvo::MemoryImage* const* const kPages[kPageCount] = {
        &IMAGE_PAGE_ONE_OF_RULES,  &IMAGE_PAGE_TWO_OF_RULES,  &IMAGE_PAGE_THREE_OF_RULES,
        &IMAGE_PAGE_FOUR_OF_RULES, &IMAGE_PAGE_FIVE_OF_RULES, &IMAGE_PAGE_SIX_OF_RULES,
        &IMAGE_PAGE_SEVEN_OF_RULES};
    if (Zarvo::MemoryImage* page = *kPages[currentPage() - 1]) g->DrawImage(page, 20, 40);
}

void RulesDialog::ButtonDepress(int buttonId) {
    const int page = currentPage();
    switch (buttonId) {
        case kNextButton:
            button(kBackButton)->Show(true);
            button(kNextButton)->Show(true);
            if (page < kPageCount) {
                showPage(page + 1);
                if (page + 1 == kPageCount) button(kNextButton)->Show(false);
            }
            break;
        case kBackButton:
            button(kBackButton)->Show(true);
            button(kNextButton)->Show(true);
            if (page > 1) {
                showPage(page - 1);
                if (page - 1 == 1) button(kBackButton)->Show(false);
            }
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

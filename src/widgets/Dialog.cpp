#include "widgets/Dialog.h"

#include <algorithm>

#include "graphics/Graphics.h"
#include "graphics/Image.h"
#include "graphics/SysFont.h"
#include "widgets/DialogListener.h"
#include "widgets/DialogTable.h"
#include "widgets/WidgetManager.h"

namespace Zarvo {

Color* Dialog::SharedColors() {
    static Color colors[7] = {
        {255, 255, 255}, {255, 255, 0}, {255, 255, 255}, {255, 255, 255},
        {255, 255, 255}, {80, 80, 80},  {255, 255, 255},
    };
    return colors;
}

Dialog::Dialog(Image* component, Image* buttonComponent, int dialogId, bool modal,
               const std::string& header, const std::string& lines, const std::string& footer,
               int mode)
    : componentImage(component),
      dialogHeader(header),
      dialogFooter(footer),
      dialogLines(lines),
      buttonMode(mode),
      buttonHeight(buttonComponent != nullptr ? buttonComponent->GetHeight() : 24),
      id(dialogId),
      isModal(modal) {
    hasAlpha = true;
    hasTransparencies = true;
    priority = 1;

    const char* firstLabel = nullptr;
    const char* secondLabel = nullptr;
    if (mode == BUTTONS_YES_NO) {
        firstLabel = "YES";
        secondLabel = "NO";
    } else if (mode == BUTTONS_OK_CANCEL) {
        firstLabel = "OK";
        secondLabel = "CANCEL";
    }
    if (mode == BUTTONS_YES_NO || mode == BUTTONS_OK_CANCEL || mode == BUTTONS_FOOTER) {
        yesButton = std::make_unique<DialogButton>(buttonComponent, ID_YES, this);
        yesButton->label = mode == BUTTONS_FOOTER ? footer : firstLabel;
    }
    if (secondLabel != nullptr) {
        noButton = std::make_unique<DialogButton>(buttonComponent, ID_NO, this);
        noButton->label = secondLabel;
    }

    // A dialog without a button image darkens the button labels of the shared table, for
    // itself and every dialog made after it.
    Color* shared = SharedColors();
    if (buttonComponent == nullptr) {
        shared[COLOR_BUTTON_TEXT] = Color(0, 0, 0);
        shared[COLOR_BUTTON_TEXT_HILITE] = Color(0, 0, 0);
    }
    for (int i = 0; i < 7; ++i) SetPaletteEntry(i, shared[i]);
}

Dialog::~Dialog() {
    lifetime_->result = result;
    lifetime_->deleted = true;
    // The buttons leave the manager with the dialog.
    for (DialogButton* b : {yesButton.get(), noButton.get()}) {
        if (b != nullptr && b->parent != nullptr) b->parent->RemoveChild(b);
    }
}

void Dialog::SetPaletteEntry(int index, const Color& color) {
    Widget::SetPaletteEntry(index, color);
    for (DialogButton* b : {yesButton.get(), noButton.get()}) {
        if (b == nullptr) continue;
        if (index == COLOR_BUTTON_TEXT) b->SetPaletteEntry(ButtonWidget::COLOR_LABEL, color);
        if (index == COLOR_BUTTON_TEXT_HILITE) {
            b->SetPaletteEntry(ButtonWidget::COLOR_LABEL_HILITE, color);
        }
    }
}

void Dialog::SetButtonFont(Font* newFont) {
    if (yesButton) yesButton->SetFont(newFont);
    if (noButton) noButton->SetFont(newFont);
}

void Dialog::SetHeaderFont(Font* newFont) {
    headerFont = newFont != nullptr ? newFont->Duplicate() : nullptr;
    Invalidate();
}

void Dialog::SetLinesFont(Font* newFont) {
    linesFont = newFont != nullptr ? newFont->Duplicate() : nullptr;
    Invalidate();
}

void Dialog::EnsureFonts() {
    if (!headerFont) headerFont = std::make_unique<SysFont>("Arial Unicode MS", 14);
    if (!linesFont) linesFont = std::make_unique<SysFont>("Arial Unicode MS", 12);
}

void Dialog::SetBounds(int newX, int newY, int newWidth, int newHeight) {
    Widget::SetBounds(newX, newY, newWidth, newHeight);
    const Insets& c = contentInsets;
    const Insets& b = backgroundInsets;
    const int buttonY = y + height - c.bottom - b.bottom - buttonHeight;
    if (yesButton && noButton) {
        const int buttonWidth = (width - 2 * buttonSidePadding - c.right - b.right - b.left -
                                 c.left - buttonHorzSpacing) /
                                2;
        const int firstX = x + b.left + c.left + buttonSidePadding;
        yesButton->SetBounds(firstX, buttonY, buttonWidth, buttonHeight);
        noButton->SetBounds(firstX + buttonWidth + buttonHorzSpacing, buttonY, buttonWidth,
                            buttonHeight);
    } else if (yesButton) {
        yesButton->SetBounds(x + b.left + c.left, buttonY,
                             width - c.right - b.right - b.left - c.left, buttonHeight);
    }
}

int Dialog::PreferredHeight(int forWidth) {
    EnsureFonts();
    const Insets& c = contentInsets;
    const Insets& b = backgroundInsets;
    int h = c.top + c.bottom + b.top + b.bottom;
    bool any = false;
    if (!dialogHeader.empty()) {
        h += headerFont->GetHeight() - headerFont->GetAscentPadding();
        any = true;
    }
    if (!dialogLines.empty()) {
        if (any) h += spaceAfterHeader;
        Graphics g(nullptr);
        g.SetFont(linesFont.get());
        h += g.GetWordWrappedHeight(forWidth - c.left - c.right - b.left - b.right - 4, dialogLines,
                                    linesFont->GetLineSpacing() + lineSpacingOffset);
        any = true;
    }
    if (!dialogFooter.empty() && buttonMode != BUTTONS_FOOTER) {
        if (any) h += 8;
        h += headerFont->GetLineSpacing();
        any = true;
    }
    if (yesButton) {
        if (any) h += 8;
        h += buttonHeight + 8;
    }
    return h;
}

void Dialog::DrawSelf(Graphics* g) {
    EnsureFonts();
    const Insets& c = contentInsets;
    const Insets& b = backgroundInsets;
    const Rect frame(b.left, b.top, width - b.left - b.right, height - b.top - b.bottom);
    if (componentImage != nullptr) {
        g->DrawImageBox(frame, componentImage);
    } else {
        g->SetColor(PaletteEntry(COLOR_OUTLINE));
        g->FillRect(12, 12, width - 25, height - 25);
        g->SetColor(PaletteEntry(COLOR_BKG));
        g->FillRect(13, 13, width - 26, height - 26);
        g->SetColor(Color(0, 0, 0, 128));
        g->FillRect(width - 12, 24, 12, height - 36);
        g->FillRect(24, height - 12, width - 24, 12);
    }

    int textTop = c.top + b.top;
    if (!dialogHeader.empty()) {
        const int baseline =
            c.top + b.top - headerFont->GetAscentPadding() + headerFont->GetAscent();
        g->SetFont(headerFont.get());
        g->SetColor(PaletteEntry(COLOR_HEADER));
        WriteCenteredLine(g, baseline, dialogHeader);
        textTop += headerFont->GetHeight() - headerFont->GetAscentPadding() + spaceAfterHeader;
    }

    g->SetFont(linesFont.get());
    g->SetColor(PaletteEntry(COLOR_LINES));
    const Rect column(b.left + c.left + 2, textTop, width - c.left - c.right - b.left - b.right - 4,
                      height - textTop);
    const int used = WriteWordWrapped(g, column, dialogLines,
                                      linesFont->GetLineSpacing() + lineSpacingOffset, textAlign);

    if (!dialogFooter.empty() && buttonMode != BUTTONS_FOOTER) {
        g->SetFont(headerFont.get());
        g->SetColor(PaletteEntry(COLOR_FOOTER));
        WriteCenteredLine(g, textTop + used + headerFont->GetLineSpacing() + 8, dialogFooter);
    }
}

void Dialog::PlaceButtonsAbove() {
    if (manager == nullptr) return;
    // Placing the second first leaves the order dialog, first button, second button.
    for (DialogButton* b : {noButton.get(), yesButton.get()}) {
        if (b != nullptr && manager->HasChild(b) && manager->HasChild(this)) {
            manager->PlaceAbove(b, this);
        }
    }
}

void Dialog::OnAttached(WidgetManager* m) {
    Widget::OnAttached(m);
    for (DialogButton* b : {yesButton.get(), noButton.get()}) {
        if (b != nullptr && !m->HasChild(b)) m->AddChild(b);
    }
    SetBounds(x, y, width, height);
    PlaceButtonsAbove();
}

void Dialog::OnDetached(WidgetManager* m) {
    for (DialogButton* b : {yesButton.get(), noButton.get()}) {
        if (b != nullptr && m->HasChild(b)) m->RemoveChild(b);
    }
    Widget::OnDetached(m);
}

void Dialog::OnOrderChanged() {
    Widget::OnOrderChanged();
    PlaceButtonsAbove();
}

void Dialog::OnMouseButtonDown(int mouseX, int mouseY, int button, int clicks) {
    (void)button;
    if (clicks != 1) return;
    dragging = true;
    dragMouseX = mouseX;
    dragMouseY = mouseY;
    if (manager != nullptr) manager->SelectCursor(kCursorDraggingHand);
}

void Dialog::OnMouseDrag(int mouseX, int mouseY) {
    if (!dragging) return;
    const int areaWidth = manager != nullptr ? manager->width : width;
    const int areaHeight = manager != nullptr ? manager->height : height;
    // The dialog may stick out of the screen by 8 pixels at most.
    auto clampAxis = [](int wanted, int size, int area) {
        if (wanted < -8) return -8;
        if (wanted + size > area + 8) return area + 8 - size;
        return wanted;
    };
    const int wantedX = x + mouseX - dragMouseX;
    const int wantedY = y + mouseY - dragMouseY;
    const int newX = clampAxis(wantedX, width, areaWidth);
    const int newY = clampAxis(wantedY, height, areaHeight);
    // Where the clamp held the dialog back, the mouse moves within it instead.
    dragMouseX = std::clamp(dragMouseX + wantedX - newX, 8, std::max(8, width - 9));
    dragMouseY = std::clamp(dragMouseY + wantedY - newY, 8, std::max(8, height - 9));
    SetBounds(newX, newY, width, height);
}

void Dialog::OnMouseUp(int mouseX, int mouseY) {
    Widget::OnMouseUp(mouseX, mouseY);
    if (!dragging) return;
    dragging = false;
    if (manager != nullptr) manager->SelectCursor(kCursorArrow);
}

void Dialog::ButtonPress(int buttonId) {
    if ((buttonId == ID_YES || buttonId == ID_NO) && dialogListener != nullptr) {
        dialogListener->DialogButtonPress(id, buttonId);
    }
}

void Dialog::ButtonDepress(int buttonId) {
    if (buttonId != ID_YES && buttonId != ID_NO) return;
    result = buttonId;
    if (dialogListener != nullptr) dialogListener->DialogButtonDepress(id, buttonId);
}

int Dialog::WaitForResult(bool autoRemove) {
    DialogTable* owner = table;
    const int dialogId = id;
    // Update code inside the nested loop may remove this dialog, and the loop deletes what was
    // queued at its own depth in the same step: after each step the dialog may be gone.
    const std::shared_ptr<Lifetime> life = lifetime_;
    while (owner != nullptr && manager != nullptr && result == kNoResult && owner->LoopStep()) {
        if (life->deleted) return life->result;
    }
    const int answer = result;
    // Another dialog may have been opened under the same id meanwhile; it is not ours to close.
    if (autoRemove && owner != nullptr && owner->FindDialog(dialogId) == this) {
        owner->RemoveDialog(dialogId);
    }
    return answer;
}

}  // namespace Zarvo

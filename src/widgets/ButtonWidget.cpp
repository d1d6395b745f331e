#include "widgets/ButtonWidget.h"

#include <algorithm>
#include <array>

#include "graphics/Graphics.h"
#include "graphics/SysFont.h"
#include "widgets/ButtonListener.h"
#include "widgets/WidgetManager.h"

namespace Zarvo {

namespace {

const std::array<std::array<int, 3>, 6> kButtonColors = {{
    {0, 0, 0},
    {0, 0, 0},
    {0, 0, 0},
    {255, 255, 255},
    {132, 132, 132},
    {212, 212, 212},
}};

// Fades advance in steps such as 0.1 whose sums miss 0 and 1 by a rounding error; a value this
// close counts as arrived.
constexpr double kFadeSnap = 1e-9;

}  // namespace

ButtonWidget::ButtonWidget(int buttonId, ButtonListener* buttonListener)
    : id(buttonId), listener(buttonListener) {
    hasAlpha = true;
    SetPalette(std::span<const std::array<int, 3>>(kButtonColors));
}

ButtonWidget::~ButtonWidget() = default;

void ButtonWidget::SetFont(Font* newFont) {
    font = newFont != nullptr ? newFont->Duplicate() : nullptr;
    Invalidate();
}

bool ButtonWidget::IsButtonDown() const {
    return isDown && isOver && !disabled;
}

void ButtonWidget::DrawButtonImage(Graphics* g, Image* image, const Rect& source, int drawX,
                                   int drawY) {
    if (image == nullptr) return;
    if (source.width == 0) {
        g->DrawImage(image, drawX, drawY);
    } else {
        g->DrawImage(image, drawX, drawY, source);
    }
}

void ButtonWidget::MakeFontIfNeeded(int size) {
    if (font == nullptr && !label.empty())
        font = std::make_unique<SysFont>("Arial Unicode MS", size);
}

bool ButtonWidget::LabelColorsDiffer() const {
    return PaletteEntry(COLOR_LABEL) != PaletteEntry(COLOR_LABEL_HILITE);
}

void ButtonWidget::DrawSelf(Graphics* g) {
    if (btnNoDraw) return;
    MakeFontIfNeeded(10);
    const bool pressed = IsButtonDown() != inverted;

    int labelX = 0;
    int labelY = 0;
    if (font != nullptr) {
        const int labelWidth = font->StringWidth(label);
        if (labelJustify == 0) {
            labelX = (width - labelWidth) / 2;
        } else if (labelJustify == 1) {
            labelX = width - labelWidth;
        }
        const int ascent = font->GetAscent();
        labelY = (ascent + height - ascent / 6 - 1) / 2;
    }
    int labelColor = isOver ? COLOR_LABEL_HILITE : COLOR_LABEL;

    if (buttonImage != nullptr || downImage != nullptr) {
        if (pressed) {
            if (HaveDownImage()) {
                DrawButtonImage(g, StateImage(downImage), downRect, 0, 0);
            } else if (HaveOverImage()) {
                DrawButtonImage(g, StateImage(overImage), overRect, 1, 1);
            } else {
                DrawButtonImage(g, buttonImage, normalRect, 1, 1);
            }
            labelColor = COLOR_LABEL_HILITE;
            labelX += 1;
            labelY += 1;
        } else if (disabled && HaveDisabledImage()) {
            DrawButtonImage(g, StateImage(disabledImage), disabledRect, 0, 0);
        } else if (overAlpha > 0 && HaveOverImage()) {
            if (HaveButtonImage() && overAlpha < 1) {
                DrawButtonImage(g, buttonImage, normalRect, 0, 0);
            }
            const bool oldColorize = g->GetColorizeImages();
            const Color oldColor = g->GetColor();
            g->SetColorizeImages(true);
            g->SetColor(Color(255, 255, 255, static_cast<int>(overAlpha * 255)));
            DrawButtonImage(g, StateImage(overImage), overRect, 0, 0);
            g->SetColor(oldColor);
            g->SetColorizeImages(oldColorize);
        } else if ((isOver || isDown) && HaveOverImage()) {
            DrawButtonImage(g, StateImage(overImage), overRect, 0, 0);
        } else if (HaveButtonImage()) {
            DrawButtonImage(g, buttonImage, normalRect, 0, 0);
        }
    } else if (!frameNoDraw) {
        g->SetColor(PaletteEntry(COLOR_BKG));
        g->FillRect(0, 0, width, height);
        const Color& light = PaletteEntry(COLOR_LIGHT_OUTLINE);
        const Color& dark = PaletteEntry(COLOR_DARK_OUTLINE);
        const Color& medium = PaletteEntry(COLOR_MEDIUM_OUTLINE);
        g->SetColor(pressed ? dark : light);
        g->FillRect(0, 0, width - 1, 1);
        g->FillRect(0, 0, 1, height - 1);
        g->SetColor(pressed ? light : dark);
        g->FillRect(0, height - 1, width, 1);
        g->FillRect(width - 1, 0, 1, height);
        g->SetColor(medium);
        if (pressed) {
            g->FillRect(1, 1, width - 3, 1);
            g->FillRect(1, 1, 1, height - 3);
            labelX += 1;
            labelY += 1;
        } else {
            g->FillRect(1, height - 2, width - 2, 1);
            g->FillRect(width - 2, 1, 1, height - 2);
        }
    }

    if (font != nullptr) {
        g->SetFont(font.get());
        g->SetColor(PaletteEntry(labelColor));
        g->DrawString(label, labelX, labelY);
    }
}

void ButtonWidget::UpdateSelf() {
    Widget::UpdateSelf();
    if (isDown && isOver && listener != nullptr) listener->ButtonDownTick(id);
    if (!isDown && !isOver && overAlpha > 0) {
        overAlpha = overAlphaFadeOutSpeed > 0 ? overAlpha - overAlphaFadeOutSpeed : 0.0;
        if (overAlpha < kFadeSnap) overAlpha = 0.0;
        Invalidate();
    }
    if (isOver && overAlphaFadeInSpeed > 0 && overAlpha < 1) {
        overAlpha += overAlphaFadeInSpeed;
        if (overAlpha > 1 - kFadeSnap) overAlpha = 1.0;
        Invalidate();
    }
}

void ButtonWidget::SetDisabledFlag(bool isDisabled) {
    Widget::SetDisabledFlag(isDisabled);
    if (HaveDisabledImage()) Invalidate();
}

void ButtonWidget::OnMouseEnter() {
    if (overAlphaFadeInSpeed == 0 && overAlpha > 0) overAlpha = 0;
    if (isDown || HaveOverImage() || LabelColorsDiffer()) Invalidate();
    if (listener != nullptr) listener->ButtonMouseEnter(id);
}

void ButtonWidget::OnMouseLeave() {
    if (overAlphaFadeOutSpeed == 0 && overAlpha > 0) {
        overAlpha = 0;
    } else if (overAlphaFadeOutSpeed > 0 && overAlpha == 0) {
        overAlpha = 1;  // the highlight fades out from full
    }
    if (isDown || HaveOverImage() || LabelColorsDiffer()) Invalidate();
    if (listener != nullptr) listener->ButtonMouseLeave(id);
}

void ButtonWidget::OnMouseMove(int mouseX, int mouseY) {
    if (listener != nullptr) listener->ButtonMouseMove(id, mouseX, mouseY);
}

void ButtonWidget::OnMouseDown(int mouseX, int mouseY, int clickCount) {
    Widget::OnMouseDown(mouseX, mouseY, clickCount);
    if (listener != nullptr) listener->ButtonPress(id, clickCount);
    Invalidate();
}

void ButtonWidget::OnMouseUp(int mouseX, int mouseY, int clickCount) {
    Widget::OnMouseUp(mouseX, mouseY, clickCount);
    // A press released elsewhere, or while another window has the focus, is no click.
    if (isOver && manager != nullptr && manager->hasFocus && listener != nullptr) {
        listener->ButtonDepress(id);
    }
    Invalidate();
}

}  // namespace Zarvo

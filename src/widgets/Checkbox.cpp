#include "widgets/Checkbox.h"

#include "graphics/Graphics.h"
#include "widgets/CheckboxListener.h"

namespace Zarvo {

Checkbox::Checkbox(Image* unchecked, Image* checkedImg, int checkboxId,
                   CheckboxListener* checkboxListener)
    : listener(checkboxListener),
      id(checkboxId),
      uncheckedImage(unchecked),
      checkedImage(checkedImg) {
    doFinger = true;
}

void Checkbox::SetChecked(bool isChecked, bool tellListener) {
    checked = isChecked;
    if (tellListener && listener != nullptr) listener->CheckboxChecked(id, checked);
    Invalidate();
}

void Checkbox::DrawSelf(Graphics* g) {
    if (checkedRect.width == 0 && checkedImage != nullptr && uncheckedImage != nullptr) {
        g->DrawImage(checked ? checkedImage : uncheckedImage, 0, 0);
    } else if (checkedRect.width != 0 && uncheckedImage != nullptr) {
        g->DrawImage(uncheckedImage, 0, 0, checked ? checkedRect : uncheckedRect);
    } else if (uncheckedImage == nullptr && checkedImage == nullptr) {
        g->SetColor(outlineColor);
        g->FillRect(0, 0, width, height);
        g->SetColor(bkgColor);
        g->FillRect(1, 1, width - 2, height - 2);
        if (checked) {
            g->SetColor(checkColor);
            g->DrawLine(1, 1, width - 2, height - 2);
            g->DrawLine(width - 1, 1, 1, height - 2);
        }
    }
}

void Checkbox::OnMouseDown(int mouseX, int mouseY, int clickCount) {
    Widget::OnMouseDown(mouseX, mouseY, clickCount);
    SetChecked(!checked, true);
}

}  // namespace Zarvo

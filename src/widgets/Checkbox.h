#pragma once

#include "graphics/Color.h"
#include "graphics/Rect.h"
#include "widgets/Widget.h"

namespace Zarvo {

class CheckboxListener;
class Image;

// A two-state box: any mouse button toggles it. Drawn from two images, from two rectangles of
// one image, or as a filled box with a cross when checked.
class Checkbox : public Widget {
public:
    Checkbox(Image* uncheckedImage, Image* checkedImage, int checkboxId,
             CheckboxListener* checkboxListener);

    // Stores the state; tells the listener when asked to.
    virtual void SetChecked(bool isChecked, bool tellListener = true);
    virtual bool IsChecked() const { return checked; }

    void DrawSelf(Graphics* g) override;
    void OnMouseDown(int mouseX, int mouseY, int clickCount) override;

    CheckboxListener* listener;
    int id;
    bool checked = false;
    Image* uncheckedImage;
    Image* checkedImage;
    Rect checkedRect;
    Rect uncheckedRect;
    Color outlineColor{0, 0, 0};  // any dark colour suits the drawn box
    Color bkgColor{80, 80, 80};
    Color checkColor{255, 255, 0};
};

}  // namespace Zarvo

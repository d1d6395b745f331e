#pragma once

#include "widgets/ButtonWidget.h"

namespace Zarvo {

// A dialog's button: a ButtonWidget, or, with a component image, a stretchable box drawn from
// that image (its normal, over, down and disabled rectangles when they are set).
class DialogButton : public ButtonWidget {
public:
    DialogButton(Image* componentImage, int buttonId, ButtonListener* buttonListener);

    void DrawSelf(Graphics* g) override;

    Image* componentImage;  // borrowed
    int translateX = 1;     // how far the box and label move while pressed
    int translateY = 1;
    int textOffsetX = 0;
    int textOffsetY = 0;
};

}  // namespace Zarvo

#pragma once

#include <memory>
#include <string>

#include "graphics/Font.h"
#include "graphics/Rect.h"
#include "widgets/Widget.h"

namespace Zarvo {

class ButtonListener;
class Image;

// A push button drawn from images (normal, over, down, disabled, each optionally a rectangle of
// the button image) or as a bevelled box, with a label and an optional fade of its highlight.
// A press is reported at once; a click only when the button is released over itself while the
// window has the focus.
class ButtonWidget : public Widget {
public:
    enum ColorIndex {
        COLOR_LABEL = 0,
        COLOR_LABEL_HILITE = 1,
        COLOR_DARK_OUTLINE = 2,
        COLOR_LIGHT_OUTLINE = 3,
        COLOR_MEDIUM_OUTLINE = 4,
        COLOR_BKG = 5,
    };

    ButtonWidget(int buttonId, ButtonListener* buttonListener);
    ~ButtonWidget() override;

    // Keeps a copy of the font.
    virtual void SetFont(Font* newFont);
    virtual bool IsButtonDown() const;
    // Draws `source` of `image` at (x, y), or the whole image when the rectangle's width is 0.
    virtual void DrawButtonImage(Graphics* g, Image* image, const Rect& source, int drawX,
                                 int drawY);

    void DrawSelf(Graphics* g) override;
    void UpdateSelf() override;
    void SetDisabledFlag(bool isDisabled) override;
    void OnMouseEnter() override;
    void OnMouseLeave() override;
    void OnMouseMove(int mouseX, int mouseY) override;
    void OnMouseDown(int mouseX, int mouseY, int clickCount) override;
    void OnMouseUp(int mouseX, int mouseY, int clickCount) override;

    // Whether a state has something to draw: its own image, or a rectangle of the button image.
    bool HaveButtonImage() const { return buttonImage != nullptr || normalRect.width != 0; }
    bool HaveOverImage() const { return overImage != nullptr || overRect.width != 0; }
    bool HaveDownImage() const { return downImage != nullptr || downRect.width != 0; }
    bool HaveDisabledImage() const { return disabledImage != nullptr || disabledRect.width != 0; }

    int id;
    std::string label;
    int labelJustify = 0;  // 0 centred, 1 right, anything else left
    std::unique_ptr<Font> font;
    Image* buttonImage = nullptr;
    Image* overImage = nullptr;
    Image* downImage = nullptr;
    Image* disabledImage = nullptr;
    Rect normalRect;
    Rect overRect;
    Rect downRect;
    Rect disabledRect;
    bool inverted = false;
    bool btnNoDraw = false;    // hidden: draws nothing
    bool frameNoDraw = false;  // without images: only the label, no bevel
    ButtonListener* listener;
    double overAlpha = 0.0;  // current strength of the highlight, 0 to 1
    double overAlphaFadeOutSpeed = 0.0;
    double overAlphaFadeInSpeed = 0.0;

protected:
    // The image a state is drawn from: its own, else the button image.
    Image* StateImage(Image* own) const { return own != nullptr ? own : buttonImage; }
    void MakeFontIfNeeded(int size);
    bool LabelColorsDiffer() const;
};

}  // namespace Zarvo

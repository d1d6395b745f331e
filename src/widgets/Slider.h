// A horizontal slider: a track with a thumb that the mouse drags (or clicks to a place) along it,
// reporting a value from 0 to 1 to its listener. Drawn from a track image stretched over the
// widget's width and a thumb image at its own size, both centred on the widget's height; without
// images, as plain boxes.
#pragma once

#include "widgets/Widget.h"

namespace Zarvo {

class Image;
class SliderListener;

class Slider : public Widget {
public:
    Slider(Image* trackImage, Image* thumbImage, int sliderId, SliderListener* sliderListener);

    // Stores `newValue` held to 0..1; tells the listener when asked to and the value changed.
    void SetValue(double newValue, bool tellListener = true);
    double GetValue() const { return value; }
    // Where the thumb's left edge is for the current value, in widget coordinates.
    int ThumbX() const;

    void DrawSelf(Graphics* g) override;
    void OnMouseDown(int mouseX, int mouseY, int clickCount) override;
    void OnMouseDrag(int mouseX, int mouseY) override;

    SliderListener* listener;  // borrowed
    int id;
    Image* trackImage;  // borrowed
    Image* thumbImage;  // borrowed

private:
    int ThumbWidth() const;
    // The value that puts the thumb's centre under `mouseX`.
    double ValueAt(int mouseX) const;

    double value = 0.0;
};

}  // namespace Zarvo

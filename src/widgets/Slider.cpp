#include "widgets/Slider.h"

#include <algorithm>
#include <cmath>

#include "graphics/Color.h"
#include "graphics/Graphics.h"
#include "graphics/Image.h"
#include "widgets/SliderListener.h"

namespace Zarvo {

namespace {
constexpr int kPlainThumbWidth = 10;
constexpr int kPlainTrackHeight = 6;
}  // namespace

Slider::Slider(Image* track, Image* thumb, int sliderId, SliderListener* sliderListener)
    : listener(sliderListener), id(sliderId), trackImage(track), thumbImage(thumb) {
    doFinger = true;
}

void Slider::SetValue(double newValue, bool tellListener) {
    newValue = std::clamp(std::isnan(newValue) ? 0.0 : newValue, 0.0, 1.0);
    if (newValue == value) return;
    value = newValue;
    Invalidate();
    if (tellListener && listener != nullptr) listener->SliderVal(id, value);
}

int Slider::ThumbWidth() const {
    return thumbImage != nullptr ? thumbImage->GetWidth() : kPlainThumbWidth;
}

int Slider::ThumbX() const {
    const int travel = std::max(0, width - ThumbWidth());
    return static_cast<int>(std::lround(value * travel));
}

double Slider::ValueAt(int mouseX) const {
    const int travel = width - ThumbWidth();
    if (travel <= 0) return 0.0;
    return static_cast<double>(mouseX - ThumbWidth() / 2) / travel;
}

void Slider::DrawSelf(Graphics* g) {
    const int trackHeight = trackImage != nullptr ? trackImage->GetHeight() : kPlainTrackHeight;
    const int trackY = (height - trackHeight) / 2;
    if (trackImage != nullptr) {
        g->DrawImage(trackImage, 0, trackY, width, trackHeight);
    } else {
        g->SetColor(Color(60, 60, 60, 255));
        g->FillRect(0, trackY, width, trackHeight);
    }
    const int thumbHeight = thumbImage != nullptr ? thumbImage->GetHeight() : height;
    const int thumbY = (height - thumbHeight) / 2;
    if (thumbImage != nullptr) {
        g->DrawImage(thumbImage, ThumbX(), thumbY);
    } else {
        g->SetColor(Color(230, 230, 230, 255));
        g->FillRect(ThumbX(), thumbY, ThumbWidth(), thumbHeight);
    }
}

void Slider::OnMouseDown(int mouseX, int, int) {
    SetValue(ValueAt(mouseX));
}

void Slider::OnMouseDrag(int mouseX, int) {
    SetValue(ValueAt(mouseX));
}

}  // namespace Zarvo

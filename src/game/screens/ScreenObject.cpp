#include "game/screens/ScreenObject.h"

#include "diagnostics/AllocationTracker.h"
#include "graphics/MemoryImage.h"

namespace Kelvane {

ScreenObject::ScreenObject() : fader(KNEW Fader()) {}

ScreenObject::~ScreenObject() = default;

bool ScreenObject::contains(int px, int py) const {
    const float fx = static_cast<float>(px);
    const float fy = static_cast<float>(py);
    return fx >= x && fy >= y && fx < x + width && fy < y + height;
}

bool ScreenObject::updateHover(int px, int py) {
    if (contains(px, py)) {
        if (hoverImageId != RESOURCE_ID_COUNT) imageId = hoverImageId;
        return true;
    }
    // Only undo the hover image: an image set meanwhile by other code is kept.
    if (imageId == hoverImageId) imageId = normalImageId;
    return false;
}

bool ScreenObject::hitTest(int px, int py) {
    return clickable && contains(px, py);
}

bool ScreenObject::isHeld() {
    return false;
}

void ScreenObject::onHook() {}

void ScreenObject::update() {
    if (fading) alpha = fader->step(alpha);
    if (counterMode == 1) counter += 0.01f;
}

void ScreenObject::addToDrawList(DrawList& list) {
    list.push_back(this);
}

void ScreenObject::setImage(int32_t newImageId) {
    naturalSize = true;
    hasImage = true;
    imageId = newImageId;
    if (Zarvo::MemoryImage* image = getImageById(newImageId)) {
        width = static_cast<float>(image->GetWidth());
        height = static_cast<float>(image->GetHeight());
    }
}

void ScreenObject::setText(const std::string& newText, int32_t newFontId) {
    hasText = true;
    text = newText;
    fontId = newFontId;
    y += height;
}

void ScreenObject::startFade(int32_t interval, bool fadeIn, int32_t fadeInStep, bool fadeOut,
                             int32_t fadeOutStep, bool hold, int32_t holdSteps) {
    fading = true;
    fader->configure(interval, fadeIn, fadeInStep, fadeOut, fadeOutStep, hold, holdSteps);
}

}  // namespace Kelvane

#include "widgets/WidgetManager.h"

#include <algorithm>

#include "platform/DisplayBackend.h"

namespace Zarvo {

void WidgetManager::SetMouseTransform(int srcX, int srcY, int srcWidth, int srcHeight, int dstX,
                                      int dstY, int dstWidth, int dstHeight) {
    srcX_ = srcX;
    srcY_ = srcY;
    srcWidth_ = srcWidth;
    srcHeight_ = srcHeight;
    dstX_ = dstX;
    dstY_ = dstY;
    dstWidth_ = dstWidth;
    dstHeight_ = dstHeight;
    width_ = dstWidth + 2 * dstX;
    height_ = dstHeight + 2 * dstY;
}

void WidgetManager::TransformWindowPoint(int wx, int wy, int& x, int& y) const {
    x = srcWidth_ != 0 ? (wx - srcX_) * dstWidth_ / srcWidth_ + dstX_ : wx;
    y = srcHeight_ != 0 ? (wy - srcY_) * dstHeight_ / srcHeight_ + dstY_ : wy;
}

bool WidgetManager::RunUpdatePass() {
    ++updateCount_;
    return dirty_;
}

bool WidgetManager::RunFractionPass(float) {
    return dirty_;
}

bool WidgetManager::RunDrawPass() {
    if (!dirty_) return false;
    dirty_ = false;
    if (backBuffer_)
        std::fill(backBuffer_->BackBuffer().begin(), backBuffer_->BackBuffer().end(), 0xFF000000u);
    return true;
}

void WidgetManager::WindowLostFocus() {
    if (!hasFocus_) return;
    for (int key = 0; key < 255; ++key) {
        if (keysDown_[key]) KeyReleased(key);
    }
    hasFocus_ = false;
}

void WidgetManager::PointerMoved(int x, int y) {
    mouseIn_ = true;
    lastMouseX_ = x;
    lastMouseY_ = y;
}

void WidgetManager::PointerPressed(int x, int y, int clickCount) {
    PointerMoved(x, y);
    downButtons_ |= clickCount < 0 ? 2 : (clickCount == 3 ? 4 : 1);
}

void WidgetManager::PointerReleased(int x, int y, int clickCount) {
    PointerMoved(x, y);
    downButtons_ &= ~(clickCount < 0 ? 2 : (clickCount == 3 ? 4 : 1));
}

void WidgetManager::PointerLeftWindow(int, int) {
    mouseIn_ = false;
}

void WidgetManager::WheelTurned(int) {}

void WidgetManager::KeyPressed(int key) {
    if (key >= 0 && key < 255) keysDown_[key] = true;
}

void WidgetManager::KeyReleased(int key) {
    if (key >= 0 && key < 255) keysDown_[key] = false;
}

void WidgetManager::CharTyped(char) {}

}  // namespace Zarvo

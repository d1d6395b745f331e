#pragma once
#include <array>
#include <cstdint>

namespace Zarvo {

class ZarvoAppBase;
class DisplayBackend;

// Root of the widget tree and the one entry point for input and drawing.
// For now an empty tree: input is tracked as far as the frame needs it (keys held, mouse
// position), the update pass counts, and the draw pass paints the back buffer black when the
// tree was marked dirty.
class WidgetManager {
public:
    explicit WidgetManager(ZarvoAppBase* app) : app_(app) {}
    virtual ~WidgetManager() = default;
    WidgetManager(const WidgetManager&) = delete;
    WidgetManager& operator=(const WidgetManager&) = delete;

    // Window client rectangle (source) and where it lies in logical screen pixels (destination).
    void SetMouseTransform(int srcX, int srcY, int srcWidth, int srcHeight, int dstX, int dstY,
                           int dstWidth, int dstHeight);
    // Maps a window client point into logical screen coordinates.
    void TransformWindowPoint(int wx, int wy, int& x, int& y) const;
    // The screen image drawn into (null: none).
    void SetBackBuffer(DisplayBackend* display) { backBuffer_ = display; }

    bool RunUpdatePass();
    bool RunFractionPass(float fraction);
    bool RunDrawPass();
    void InvalidateSubtree() { dirty_ = true; }
    void SystemColoursChangedTree() {}

    void WindowGotFocus() { hasFocus_ = true; }
    void WindowLostFocus();
    void PointerMoved(int x, int y);
    void PointerPressed(int x, int y, int clickCount);
    void PointerReleased(int x, int y, int clickCount);
    void PointerLeftWindow(int x, int y);
    void WheelTurned(int delta);
    void KeyPressed(int key);
    void KeyReleased(int key);
    void CharTyped(char c);
    void ReleaseMouseButtons() { downButtons_ = 0; }
    bool IsKeyDown(int key) const { return key >= 0 && key < 255 && keysDown_[key]; }

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool HasFocus() const { return hasFocus_; }
    bool MouseIn() const { return mouseIn_; }
    int LastMouseX() const { return lastMouseX_; }
    int LastMouseY() const { return lastMouseY_; }
    int UpdateCount() const { return updateCount_; }

private:
    ZarvoAppBase* app_;
    DisplayBackend* backBuffer_ = nullptr;
    int srcX_ = 0, srcY_ = 0, srcWidth_ = 0, srcHeight_ = 0;
    int dstX_ = 0, dstY_ = 0, dstWidth_ = 0, dstHeight_ = 0;
    int width_ = 0, height_ = 0;
    bool dirty_ = true;
    bool hasFocus_ = true;
    bool mouseIn_ = false;
    int lastMouseX_ = 0, lastMouseY_ = 0;
    int downButtons_ = 0;
    int updateCount_ = 0;
    std::array<bool, 255> keysDown_{};
};

}  // namespace Zarvo

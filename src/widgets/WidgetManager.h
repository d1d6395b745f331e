#pragma once

#include <functional>

#include <array>
#include <climits>
#include <vector>

#include "graphics/Rect.h"
#include "platform/CursorId.h"
#include "widgets/Widget.h"
#include "widgets/WidgetContainer.h"
#include "widgets/WidgetHost.h"

namespace Zarvo {

class Graphics;
class Image;

// The root of the widget tree and the only entry point for input and drawing. It tracks the
// widget under the mouse, the widget holding a pressed button, the keyboard focus, the held
// keys and the modal barrier below which nothing receives the mouse or the keyboard.
//
// Every pointer it keeps to a widget (over, last down, focus, modal base, modal records, popup
// command widget, deferred overlays) is dropped when that widget leaves the tree or is
// disabled, so input never reaches a detached widget.
class WidgetManager : public WidgetContainer {
public:
    static constexpr int kDefaultManagerFlags = kWidgetFlagUpdate | kWidgetFlagDraw |
                                                kWidgetFlagClip | kWidgetFlagAllowMouse |
                                                kWidgetFlagAllowFocus;
    // Button bits of the down-button sets (not the held-button bits of window messages).
    static constexpr int kDownButtonLeft = 1;
    static constexpr int kDownButtonRight = 2;
    static constexpr int kDownButtonMiddle = 4;
    // The click count of a middle-button event; a negative count is the right button.
    static constexpr int kMiddleClickCount = 3;
    // Values of lastDownButtonId.
    static constexpr int kButtonIdLeft = 1;
    static constexpr int kButtonIdRight = -1;
    static constexpr int kButtonIdMiddle = 2;
    static constexpr int kKeyTab = 9;
    static constexpr int kKeyShift = 16;
    static constexpr int kKeyControl = 17;
    static constexpr int kKeyCount = 255;

    // One modal layer: who opened it and what it replaced.
    struct ModalRecord {
        Widget* widget = nullptr;  // compared only, never used to reach the widget
        Widget* previousBase = nullptr;
        Widget* previousFocus = nullptr;
        FlagsMod previousBelowModalMod;
    };

    struct DeferredOverlay {
        Widget* widget = nullptr;
        int priority = 0;
    };

    Widget* defaultTab = nullptr;         // receives Tab when Ctrl+Tab is typed
    Graphics* currentGraphics = nullptr;  // the drawing context during a draw pass
    WidgetHost* app = nullptr;
    Image* backBuffer = nullptr;
    Widget* popupCommandWidget = nullptr;  // removed when the mouse is pressed outside it
    std::vector<DeferredOverlay> deferredOverlays;
    int minDeferredOverlayPriority = INT_MAX;
    bool hasFocus = true;  // the application window has the keyboard focus
    Widget* focusWidget = nullptr;
    Widget* lastDownWidget = nullptr;
    Widget* overWidget = nullptr;
    Widget* baseModalWidget = nullptr;
    FlagsMod lostFocusFlagsMod;
    FlagsMod belowModalFlagsMod;
    FlagsMod defaultBelowModalFlagsMod{0, kWidgetFlagAllowMouse | kWidgetFlagAllowFocus};
    std::vector<ModalRecord> modalRecords;
    Rect mouseDestRect;
    Rect mouseSourceRect;
    bool mouseIn = false;
    int lastMouseX = 0;
    int lastMouseY = 0;
    int downButtons = 0;        // buttons pressed on the last down widget
    int actualDownButtons = 0;  // buttons physically held
    int lastInputUpdateCount = 0;
    // Counts the pointer events taken in; tells whether a handler ran the loop meanwhile.
    unsigned pointerEventCount = 0;
    std::array<bool, kKeyCount> keysDown{};
    int lastDownButtonId = 0;  // a kButtonId value
    int managerFlags = kDefaultManagerFlags;

    explicit WidgetManager(WidgetHost* application);
    ~WidgetManager() override;

    // Stores both rectangles and sizes the manager to the destination plus its offset on
    // both sides.
    void SetMouseTransform(const Rect& source, const Rect& destination);
    // A window point in logical coordinates. An empty source leaves the point unscaled.
    WidgetPoint MapWindowPoint(int windowX, int windowY) const;
    // The inverse, for whoever makes mouse messages of their own (window coordinates): the
    // window point in the middle of the window pixels that MapWindowPoint maps onto the
    // logical point, so that it maps back exactly; when the window is smaller than the logical
    // screen and no window pixel maps onto it, the first pixel that maps beyond it.
    WidgetPoint MapLogicalPoint(int logicalX, int logicalY) const;
    void SetBackBuffer(Image* image) { backBuffer = image; }

    // One logic update of the tree; returns whether anything is dirty.
    bool RunUpdatePass();
    bool RunFractionPass(float fraction);
    // Draws the dirty top-level widgets into the back buffer; returns whether anything was
    // drawn.
    bool RunDrawPass();

    void WindowGotFocus();
    void WindowLostFocus();
    void PointerMoved(int mouseX, int mouseY);
    void PointerPressed(int mouseX, int mouseY, int clickCount);
    void PointerReleased(int mouseX, int mouseY, int clickCount);
    void PointerLeftWindow(int mouseX, int mouseY);
    void WheelTurned(int delta);
    void KeyPressed(int key);
    // Sees every key press before the focused widget; a key it answers true for goes no further.
    std::function<bool(int key)> keyDownFilter;
    void KeyReleased(int key);
    void CharTyped(char c);
    // Delivers the mouse-ups still owed to the widget holding buttons and forgets them.
    void ReleaseMouseButtons();
    // Re-evaluates the widget under the mouse after the tree changed.
    void RecheckMouse();
    bool IsKeyDown(int key) const;
    bool MouseIn() const { return mouseIn; }
    bool HasFocus() const { return hasFocus; }
    int LastMouseX() const { return lastMouseX; }
    int LastMouseY() const { return lastMouseY; }
    int UpdateCount() const { return updateCount; }
    int Width() const { return width; }
    int Height() const { return height; }

    void GiveFocus(Widget* w) override;
    void ForgetWidget(Widget* w) override;
    void AddModalLayer(Widget* w);
    void AddModalLayer(Widget* w, const FlagsMod& belowModalMod);
    void RemoveModalLayer(Widget* w);
    // Takes the popup command widget out of the tree (it is not deleted here).
    void DismissPopup();
    void SetPopupCommandWidget(Widget* w);

    // The widget under (x, y) and the point in its own coordinates; null when nothing there
    // takes the mouse or the result is disabled.
    Widget* FindWidgetAt(int pointX, int pointY, WidgetPoint* local = nullptr);
    // The mouse position logic: moves the mouse to (x, y), sending leave, enter and move.
    void TrackPointer(int mouseX, int mouseY);
    // Queues an overlay to draw at `overlayPriority` during the running draw pass.
    void DeferOverlay(Widget* w, int overlayPriority);
    // Draws the queued overlays, lowest priority first, while their priority is below `limit`.
    void DrawOverlaysBelow(int limit);
    // The manager flags, with the lost-focus modifier while the window lacks focus.
    int CurrentFlags() const;
    ModalFlags BuildModalFlags() const;
    // Asks the application for a cursor (a CursorId).
    void SelectCursor(int cursorId);

private:
    Widget* FindWidgetIn(WidgetContainer* container, int pointX, int pointY, int flags,
                         bool& passedBase, WidgetPoint* local);
    void EnterWidget(Widget* w);
    void LeaveWidget(Widget* w);
    // The widget under the mouse, if any, stops being it and gets its leave. The pointer is
    // dropped first, so the leave hook may change the tree.
    void ClearOverWidget();
    void DeliverPendingMouseUps(Widget* w, int buttons);
    // Clears what the current below-modal modifier makes unreachable below the modal base.
    void ClearBelowModal();
    void DrawOverlay(const DeferredOverlay& overlay);
};

}  // namespace Zarvo

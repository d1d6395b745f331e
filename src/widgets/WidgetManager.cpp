#include "widgets/WidgetManager.h"

#include <algorithm>
#include <cassert>
#include <cstdint>

#include "graphics/Graphics.h"
#include "graphics/Image.h"

namespace Zarvo {

namespace {

int ButtonBit(int clickCount) {
    if (clickCount < 0) return WidgetManager::kDownButtonRight;
    if (clickCount == WidgetManager::kMiddleClickCount) return WidgetManager::kDownButtonMiddle;
    return WidgetManager::kDownButtonLeft;
}

int ClampToInt(int64_t v) {
    return int(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

}  // namespace

WidgetManager::WidgetManager(WidgetHost* application) : app(application) {
    manager = this;
}

WidgetManager::~WidgetManager() {
    // Nothing may receive events any more; the children only lose their links to the tree.
    overWidget = nullptr;
    lastDownWidget = nullptr;
    focusWidget = nullptr;
    baseModalWidget = nullptr;
    popupCommandWidget = nullptr;
    defaultTab = nullptr;
    modalRecords.clear();
    deferredOverlays.clear();
    ClearChildren(false, false);
}

void WidgetManager::SetMouseTransform(const Rect& source, const Rect& destination) {
    mouseSourceRect = source;
    mouseDestRect = destination;
    width = destination.width + 2 * destination.x;
    height = destination.height + 2 * destination.y;
}

WidgetPoint WidgetManager::MapWindowPoint(int windowX, int windowY) const {
    const Rect& s = mouseSourceRect;
    const Rect& d = mouseDestRect;
    if (s.width <= 0 || s.height <= 0) {
        return {ClampToInt(int64_t(windowX) - s.x + d.x), ClampToInt(int64_t(windowY) - s.y + d.y)};
    }
    return {ClampToInt((int64_t(windowX) - s.x) * d.width / s.width + d.x),
            ClampToInt((int64_t(windowY) - s.y) * d.height / s.height + d.y)};
}

namespace {
int64_t FloorDiv(int64_t a, int64_t b) {
    const int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}
int64_t CeilDiv(int64_t a, int64_t b) {
    return -FloorDiv(-a, b);
}
// The window coordinate for logical coordinate `l` on one axis of the transform (source offset
// and length, destination offset and length), matching the truncating forward mapping.
int64_t WindowCoordinateFor(int64_t l, int64_t so, int64_t sl, int64_t d0, int64_t dl) {
    const int64_t r = l - d0;
    int64_t first = 0, last = 0;
    if (r >= 0) {  // (w - so) * dl / sl lies in [r, r + 1)
        first = CeilDiv(r * sl, dl);
        last = CeilDiv((r + 1) * sl, dl) - 1;
    } else {  // truncation towards zero: it lies in (r - 1, r]
        first = FloorDiv((r - 1) * sl, dl) + 1;
        last = FloorDiv(r * sl, dl);
    }
    if (last < first) return so + first;
    return so + first + (last - first) / 2;
}
}  // namespace

WidgetPoint WidgetManager::MapLogicalPoint(int logicalX, int logicalY) const {
    const Rect& s = mouseSourceRect;
    const Rect& d = mouseDestRect;
    if (s.width <= 0 || s.height <= 0 || d.width <= 0 || d.height <= 0) {
        return {ClampToInt(int64_t(logicalX) - d.x + s.x),
                ClampToInt(int64_t(logicalY) - d.y + s.y)};
    }
    return {ClampToInt(WindowCoordinateFor(logicalX, s.x, s.width, d.x, d.width)),
            ClampToInt(WindowCoordinateFor(logicalY, s.y, s.height, d.y, d.height))};
}

int WidgetManager::CurrentFlags() const {
    return hasFocus ? managerFlags : lostFocusFlagsMod.Apply(managerFlags);
}

ModalFlags WidgetManager::BuildModalFlags() const {
    ModalFlags flags;
    flags.overFlags = CurrentFlags();
    flags.underFlags = belowModalFlagsMod.Apply(flags.overFlags);
    flags.isOver = baseModalWidget == nullptr;
    return flags;
}

bool WidgetManager::RunUpdatePass() {
    ModalFlags flags = BuildModalFlags();
    ++updateCount;
    lastManagerUpdateCount = updateCount;
    UpdateTree(flags);
    return dirty;
}

bool WidgetManager::RunFractionPass(float fraction) {
    ModalFlags flags = BuildModalFlags();
    UpdateTreeFraction(flags, fraction);
    return dirty;
}

bool WidgetManager::RunDrawPass() {
    ModalFlags flags = BuildModalFlags();
    const bool anyDirty =
        std::any_of(children.begin(), children.end(), [](const Widget* w) { return w->dirty; });
    minDeferredOverlayPriority = INT_MAX;
    deferredOverlays.clear();
    // Without a back buffer the dirty marks wait for the next one.
    if (backBuffer == nullptr) return false;

    Graphics g(backBuffer);
    currentGraphics = &g;
    bool drew = false;
    if (anyDirty) {
        Graphics screen(g);
        screen.Translate(-mouseDestRect.x, -mouseDestRect.y);
        for (Widget* child : children) {
            if (child == baseModalWidget) flags.isOver = true;
            if (child->dirty && child->visible) {
                Graphics childGraphics(screen);
                childGraphics.Translate(child->x, child->y);
                // Software drawing only: nearest-pixel stretching, no linear blending.
                childGraphics.SetFastStretch(true);
                childGraphics.SetLinearBlend(false);
                child->DrawTree(flags, &childGraphics);
                drew = true;
            }
            child->dirty = false;
        }
    }
    DrawOverlaysBelow(INT_MAX);
    currentGraphics = nullptr;
    dirty = false;
    return drew;
}

void WidgetManager::DeferOverlay(Widget* w, int overlayPriority) {
    if (w == nullptr) return;
    deferredOverlays.push_back({w, overlayPriority});
    minDeferredOverlayPriority = std::min(minDeferredOverlayPriority, overlayPriority);
}

void WidgetManager::DrawOverlaysBelow(int limit) {
    // INT_MAX as the limit means everything, including overlays queued at INT_MAX.
    while (!deferredOverlays.empty() && (minDeferredOverlayPriority < limit || limit == INT_MAX)) {
        const int lowest = minDeferredOverlayPriority;
        std::vector<DeferredOverlay> batch;
        auto split = std::stable_partition(
            deferredOverlays.begin(), deferredOverlays.end(),
            [lowest](const DeferredOverlay& o) { return o.priority != lowest; });
        batch.assign(split, deferredOverlays.end());
        deferredOverlays.erase(split, deferredOverlays.end());
        for (const DeferredOverlay& overlay : batch) {
            // An earlier overlay's drawing may have taken this widget out of the tree.
            if (overlay.widget->manager == this) DrawOverlay(overlay);
        }
        minDeferredOverlayPriority = INT_MAX;
        for (const DeferredOverlay& o : deferredOverlays) {
            minDeferredOverlayPriority = std::min(minDeferredOverlayPriority, o.priority);
        }
    }
}

void WidgetManager::DrawOverlay(const DeferredOverlay& overlay) {
    if (currentGraphics == nullptr) return;
    Graphics g(*currentGraphics);
    g.Translate(-mouseDestRect.x, -mouseDestRect.y);
    const WidgetPoint p = overlay.widget->AbsolutePosition();
    g.Translate(p.x, p.y);
    g.SetFastStretch(true);
    g.SetLinearBlend(false);
    overlay.widget->DrawOverlayLayer(&g, overlay.priority);
}

void WidgetManager::WindowGotFocus() {
    if (hasFocus) return;
    hasFocus = true;
    if (focusWidget != nullptr) focusWidget->OnGotFocus();
}

void WidgetManager::WindowLostFocus() {
    if (!hasFocus) return;
    actualDownButtons = 0;
    // No key may stay held while the window cannot see it being released.
    for (int key = 0; key < kKeyCount; ++key) {
        if (keysDown[key]) KeyReleased(key);
    }
    hasFocus = false;
    if (focusWidget != nullptr) focusWidget->OnLostFocus();
}

Widget* WidgetManager::FindWidgetIn(WidgetContainer* container, int pointX, int pointY, int flags,
                                    bool& passedBase, WidgetPoint* local) {
    const int containerFlags = container->flagsMod.Apply(flags);
    for (auto it = container->children.rbegin(); it != container->children.rend(); ++it) {
        Widget* child = *it;
        int f = child->flagsMod.Apply(containerFlags);
        if (passedBase) f = belowModalFlagsMod.Apply(f);
        if ((f & kWidgetFlagAllowMouse) && child->visible) {
            const int childX = pointX - child->x;
            const int childY = pointY - child->y;
            if (Widget* found = FindWidgetIn(child, childX, childY, f, passedBase, local)) {
                return found;
            }
            if (child->mouseVisible && child->MouseRect().Contains(pointX, pointY) &&
                child->HitsPoint(childX, childY)) {
                if (local != nullptr) *local = {childX, childY};
                return child;
            }
        }
        // Everything below the modal base lies under the barrier.
        if (child == baseModalWidget) passedBase = true;
    }
    return nullptr;
}

Widget* WidgetManager::FindWidgetAt(int pointX, int pointY, WidgetPoint* local) {
    bool passedBase = false;
    WidgetPoint found;
    Widget* w = FindWidgetIn(this, pointX, pointY, CurrentFlags(), passedBase, &found);
    if (w == nullptr || w->disabled) return nullptr;
    if (local != nullptr) *local = found;
    return w;
}

void WidgetManager::EnterWidget(Widget* w) {
    w->isOver = true;
    w->OnMouseEnter();
    if (w->doFinger) w->ShowHandCursor(true);
}

void WidgetManager::LeaveWidget(Widget* w) {
    w->isOver = false;
    w->OnMouseLeave();
    if (w->doFinger) w->ShowHandCursor(false);
}

void WidgetManager::ClearOverWidget() {
    if (Widget* old = overWidget) {
        overWidget = nullptr;
        LeaveWidget(old);
    }
}

void WidgetManager::TrackPointer(int mouseX, int mouseY) {
    const int previousX = lastMouseX;
    const int previousY = lastMouseY;
    lastMouseX = mouseX;
    lastMouseY = mouseY;
    WidgetPoint local;
    Widget* w = FindWidgetAt(mouseX, mouseY, &local);
    if (w == overWidget) {
        if ((mouseX == previousX && mouseY == previousY) || w == nullptr) return;
    } else {
        if (overWidget != nullptr) {
            ClearOverWidget();
            // The leave hook may have taken the new widget out of the tree.
            if (w != nullptr && w->manager != this) w = nullptr;
        }
        overWidget = w;
        if (w != nullptr) EnterWidget(w);
    }
    // The enter or leave hooks may have taken the widget out of the tree.
    if (w != nullptr && w == overWidget) w->OnMouseMove(local.x, local.y);
}

void WidgetManager::PointerMoved(int mouseX, int mouseY) {
    lastInputUpdateCount = updateCount;
    ++pointerEventCount;
    mouseIn = true;
    if (downButtons == 0 || lastDownWidget == nullptr) {
        TrackPointer(mouseX, mouseY);
        return;
    }
    // A drag: the widget holding the button gets every move, wherever the mouse is.
    lastMouseX = mouseX;
    lastMouseY = mouseY;
    if (overWidget != lastDownWidget) ClearOverWidget();
    if (Widget* down = lastDownWidget) {
        const WidgetPoint origin = down->AbsolutePosition();
        down->OnMouseDrag(mouseX - origin.x, mouseY - origin.y);
    }
    Widget* under = FindWidgetAt(mouseX, mouseY);
    if (under == nullptr || under != lastDownWidget) {
        ClearOverWidget();
    } else if (overWidget == nullptr) {
        overWidget = lastDownWidget;
        EnterWidget(overWidget);
    }
}

void WidgetManager::PointerPressed(int mouseX, int mouseY, int clickCount) {
    lastInputUpdateCount = updateCount;
    ++pointerEventCount;
    const int bit = ButtonBit(clickCount);
    actualDownButtons |= bit;
    TrackPointer(mouseX, mouseY);

    if (Widget* popup = popupCommandWidget) {
        const WidgetPoint origin =
            popup->parent != nullptr ? popup->parent->AbsolutePosition() : WidgetPoint{};
        if (!popup->ContainsPoint(mouseX - origin.x, mouseY - origin.y)) DismissPopup();
    }

    WidgetPoint local;
    Widget* w = FindWidgetAt(mouseX, mouseY, &local);
    if (lastDownWidget != nullptr) {
        // Another button while one is held goes to the widget already holding it.
        w = lastDownWidget;
        const WidgetPoint origin = w->AbsolutePosition();
        local = {mouseX - origin.x, mouseY - origin.y};
    }
    lastDownButtonId = clickCount < 0                    ? kButtonIdRight
                       : clickCount == kMiddleClickCount ? kButtonIdMiddle
                                                         : kButtonIdLeft;
    // A press on nothing holds nothing; otherwise its release could never clear the button
    // and every later move would count as a drag.
    if (w == nullptr) return;
    downButtons |= bit;
    lastDownWidget = w;
    if (w->TakesFocusOnClick()) GiveFocus(w);
    if (lastDownWidget != w) return;  // the focus change took it out of the tree
    w->isDown = true;
    w->OnMouseDown(local.x, local.y, clickCount);
}

void WidgetManager::PointerReleased(int mouseX, int mouseY, int clickCount) {
    lastInputUpdateCount = updateCount;
    const unsigned thisEvent = ++pointerEventCount;
    const int bit = ButtonBit(clickCount);
    actualDownButtons &= ~bit;
    if (lastDownWidget != nullptr && (downButtons & bit)) {
        downButtons &= ~bit;
        Widget* w = lastDownWidget;
        if (downButtons == 0) lastDownWidget = nullptr;
        w->isDown = false;
        const WidgetPoint origin = w->AbsolutePosition();
        w->OnMouseUp(mouseX - origin.x, mouseY - origin.y, clickCount);
        // A handler that ran the loop (a button opening a modal dialog and waiting for its
        // answer) has already followed the pointer to where it is now; tracking the old
        // release point would put back a hover the pointer has long left.
        if (pointerEventCount != thisEvent) return;
    }
    TrackPointer(mouseX, mouseY);
}

void WidgetManager::DeliverPendingMouseUps(Widget* w, int buttons) {
    static constexpr struct {
        int bit;
        int clickCount;
    } kUps[] = {
        {kDownButtonLeft, 1}, {kDownButtonRight, -1}, {kDownButtonMiddle, kMiddleClickCount}};
    for (const auto& up : kUps) {
        if (!(buttons & up.bit)) continue;
        // An earlier mouse-up may have taken the widget out of the tree.
        if (w->manager != this) return;
        w->isDown = false;
        const WidgetPoint origin = w->AbsolutePosition();
        w->OnMouseUp(lastMouseX - origin.x, lastMouseY - origin.y, up.clickCount);
    }
}

void WidgetManager::PointerLeftWindow(int, int) {
    lastInputUpdateCount = updateCount;
    ++pointerEventCount;
    mouseIn = false;
    ClearOverWidget();
}

void WidgetManager::WheelTurned(int delta) {
    lastInputUpdateCount = updateCount;
    if (focusWidget != nullptr) focusWidget->OnMouseWheel(delta);
}

bool WidgetManager::IsKeyDown(int key) const {
    return key >= 0 && key < kKeyCount && keysDown[key];
}

void WidgetManager::KeyPressed(int key) {
    lastInputUpdateCount = updateCount;
    if (key >= 0 && key < kKeyCount) keysDown[key] = true;
    if (keyDownFilter && keyDownFilter(key)) return;
    if (focusWidget != nullptr) focusWidget->OnKeyDown(key);
}

void WidgetManager::KeyReleased(int key) {
    lastInputUpdateCount = updateCount;
    if (key >= 0 && key < kKeyCount) keysDown[key] = false;
    if (key == kKeyTab && IsKeyDown(kKeyControl)) return;
    if (focusWidget != nullptr) focusWidget->OnKeyUp(key);
}

void WidgetManager::CharTyped(char c) {
    lastInputUpdateCount = updateCount;
    if (c == '\t' && IsKeyDown(kKeyControl)) {
        if (defaultTab != nullptr) defaultTab->OnKeyChar('\t');
        return;
    }
    if (focusWidget != nullptr) focusWidget->OnKeyChar(c);
}

void WidgetManager::ReleaseMouseButtons() {
    if (lastDownWidget == nullptr || downButtons == 0) return;
    Widget* w = lastDownWidget;
    const int buttons = downButtons;
    lastDownWidget = nullptr;
    downButtons = 0;
    DeliverPendingMouseUps(w, buttons);
}

void WidgetManager::RecheckMouse() {
    if (lastDownWidget != nullptr) {
        if (overWidget != nullptr && FindWidgetAt(lastMouseX, lastMouseY) != lastDownWidget) {
            ClearOverWidget();
        }
    } else if (mouseIn) {
        TrackPointer(lastMouseX, lastMouseY);
    }
}

void WidgetManager::GiveFocus(Widget* w) {
    if (w == focusWidget) return;
    if (Widget* old = focusWidget) {
        focusWidget = nullptr;
        old->OnLostFocus();
    }
    if (w != nullptr && w->manager == this) {
        focusWidget = w;
        if (hasFocus) w->OnGotFocus();
    }
}

void WidgetManager::ForgetWidget(Widget* w) {
    if (w == nullptr) return;
    if (w == overWidget) ClearOverWidget();
    if (w == lastDownWidget) {
        const int buttons = downButtons;
        lastDownWidget = nullptr;
        downButtons = 0;
        DeliverPendingMouseUps(w, buttons);
    }
    if (w == focusWidget) {
        focusWidget = nullptr;
        w->OnLostFocus();
    }
    if (w == baseModalWidget) baseModalWidget = nullptr;
    for (ModalRecord& record : modalRecords) {
        if (record.previousBase == w) record.previousBase = nullptr;
        if (record.previousFocus == w) record.previousFocus = nullptr;
    }
    if (w == popupCommandWidget) popupCommandWidget = nullptr;
    if (w == defaultTab) defaultTab = nullptr;
    const auto before = deferredOverlays.size();
    std::erase_if(deferredOverlays, [w](const DeferredOverlay& o) { return o.widget == w; });
    if (deferredOverlays.size() != before) {
        minDeferredOverlayPriority = INT_MAX;
        for (const DeferredOverlay& o : deferredOverlays) {
            minDeferredOverlayPriority = std::min(minDeferredOverlayPriority, o.priority);
        }
    }
}

void WidgetManager::ClearBelowModal() {
    if (baseModalWidget == nullptr) return;
    if (belowModalFlagsMod.Removes(kWidgetFlagAllowMouse)) {
        if (overWidget != nullptr && ComesBefore(overWidget, baseModalWidget)) ClearOverWidget();
        if (lastDownWidget != nullptr && ComesBefore(lastDownWidget, baseModalWidget)) {
            Widget* down = lastDownWidget;
            const int buttons = downButtons;
            lastDownWidget = nullptr;
            downButtons = 0;
            DeliverPendingMouseUps(down, buttons);
        }
    }
    if (belowModalFlagsMod.Removes(kWidgetFlagAllowFocus) && focusWidget != nullptr &&
        baseModalWidget != nullptr && ComesBefore(focusWidget, baseModalWidget)) {
        Widget* old = focusWidget;
        focusWidget = nullptr;
        old->OnLostFocus();
    }
}

void WidgetManager::AddModalLayer(Widget* w) {
    AddModalLayer(w, defaultBelowModalFlagsMod);
}

void WidgetManager::AddModalLayer(Widget* w, const FlagsMod& belowModalMod) {
    modalRecords.push_back({w, baseModalWidget, focusWidget, belowModalFlagsMod});
    baseModalWidget = w;
    belowModalFlagsMod = belowModalMod;
    ClearBelowModal();
}

void WidgetManager::RemoveModalLayer(Widget* w) {
    bool first = true;
    while (!modalRecords.empty()) {
        const ModalRecord record = modalRecords.back();
        if (first && record.widget != w) {
            // Tolerated (nothing changes), but always a mistake of the caller.
            assert(false && "RemoveModalLayer: the newest modal layer belongs to another widget");
            return;
        }
        first = false;
        modalRecords.pop_back();
        baseModalWidget = record.previousBase;
        belowModalFlagsMod = record.previousBelowModalMod;
        ClearBelowModal();
        if (focusWidget == nullptr && record.previousFocus != nullptr) {
            GiveFocus(record.previousFocus);
        }
        // A layer whose base left the tree meanwhile is gone too: keep unwinding.
        if (record.previousBase != nullptr) return;
    }
}

void WidgetManager::SetPopupCommandWidget(Widget* w) {
    popupCommandWidget = w;
}

void WidgetManager::DismissPopup() {
    Widget* popup = popupCommandWidget;
    if (popup == nullptr) return;
    popupCommandWidget = nullptr;
    if (popup->parent != nullptr) popup->parent->RemoveChild(popup);
}

void WidgetManager::SelectCursor(int cursorId) {
    if (app != nullptr) app->SetCursorId(cursorId);
}

}  // namespace Zarvo

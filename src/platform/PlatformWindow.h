#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "platform/CursorId.h"
#include "platform/PlatformRect.h"
#include "platform/WindowMessage.h"

namespace Zarvo {

// The application's main window and the event source behind it. Implementations: SdlWindow (a
// real window) and HeadlessWindow (no window; events are injected by tests).
class PlatformWindow {
public:
    // The smallest client size a window can be given.
    static constexpr int kMinimumClientWidth = 160;
    static constexpr int kMinimumClientHeight = 120;
    struct Placement {
        std::string title;
        int x = 0;  // outer window position on the desktop
        int y = 0;
        int clientWidth = 640;  // the window's own size, which the player may change later
        int clientHeight = 480;
        // The screen image shown in it, scaled to fit with black bars (Letterbox); 0 means
        // the client size.
        int screenWidth = 0;
        int screenHeight = 0;
        bool fullScreen = false;  // desktop-sized, scaled and letterboxed
        bool resizable = true;
        bool hidden = true;  // created hidden; Show makes it visible
    };
    using MessageSink = std::function<void(const WindowMessage&)>;

    virtual ~PlatformWindow() = default;

    // Creates (or re-creates) the window. Returns false with LastError() set on failure.
    virtual bool Create(const Placement& placement) = 0;
    virtual void Destroy() = 0;
    virtual bool Exists() const = 0;
    virtual const std::string& LastError() const = 0;

    // The usable desktop area (without panels and task bars) and the frame sizes that a window
    // adds around its client area (left, top, right, bottom).
    virtual PlatformRect WorkArea() = 0;
    virtual void FrameExtents(int& left, int& top, int& right, int& bottom) = 0;

    virtual void Show() = 0;
    virtual void Hide() = 0;
    virtual void Focus() = 0;
    // Restores the window when minimised and brings it to the front.
    virtual void Raise() = 0;
    virtual bool IsActive() = 0;
    virtual bool IsMinimised() = 0;
    virtual bool IsVisible() = 0;
    // Outer position of the window in its normal (not minimised, not full screen) state.
    virtual void NormalPosition(int& x, int& y) = 0;
    // Client size of the window in its normal (not minimised, maximised or full screen) state.
    virtual void NormalSize(int& width, int& height) = 0;
    // Where the screen image lies in client coordinates at the window's current size: the
    // source rectangle of the mouse transform.
    virtual PlatformRect ScreenRect() = 0;
    virtual void SetFullScreen(bool fullScreen) = 0;
    virtual void SetTitle(const std::string& title) = 0;

    // Translates every waiting window-system event into window messages passed to `sink`.
    virtual void PumpEvents(const MessageSink& sink) = 0;

    virtual void CaptureMouse(bool capture) = 0;
    // Cursor position in client coordinates (window pixels, not yet mapped onto the screen
    // image); false when unknown.
    virtual bool CursorPosition(int& x, int& y) = 0;
    // Whether the cursor is over this window, on the picture of a width x height screen image.
    virtual bool CursorInClient(int width, int height) = 0;
    // Shows the system cursor for a cursor id (a CursorId; none for kCursorNone and
    // kCursorCustomOnly).
    virtual void SetSystemCursor(int cursorId) = 0;
};

}  // namespace Zarvo

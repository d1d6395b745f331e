#pragma once
#include <array>
#include <memory>

#include "platform/PlatformWindow.h"

struct SDL_Window;
struct SDL_Cursor;
union SDL_Event;

namespace Zarvo {

// The main window on SDL2 and its event source.
// Implemented: window creation (windowed or desktop full screen), show/hide/raise, work area and
// frame extents, translation of SDL events into window messages (mouse with double clicks, wheel,
// keys mapped to virtual-key codes, Alt combinations as system keys, typed characters, focus,
// minimise/maximise/restore, move, resize, close, exposure, display changes), mouse capture,
// system cursors and the two built-in hand cursors. Termination signals arrive as a close
// message. The window may be resized; mouse positions stay in window coordinates, and the
// application maps them onto the screen image through ScreenRect (the display draws the
// picture at the same place).
// Not implemented: a second hidden window (nothing on this platform sends messages to it).
class SdlWindow : public PlatformWindow {
public:
    SdlWindow();
    ~SdlWindow() override;
    SdlWindow(const SdlWindow&) = delete;
    SdlWindow& operator=(const SdlWindow&) = delete;

    bool Create(const Placement& placement) override;
    void Destroy() override;
    bool Exists() const override { return window_ != nullptr; }
    const std::string& LastError() const override { return error_; }
    PlatformRect WorkArea() override;
    void FrameExtents(int& left, int& top, int& right, int& bottom) override;
    void Show() override;
    void Hide() override;
    void Focus() override;
    void Raise() override;
    bool IsActive() override;
    bool IsMinimised() override;
    bool IsVisible() override;
    void NormalPosition(int& x, int& y) override;
    void NormalSize(int& width, int& height) override;
    PlatformRect ScreenRect() override;
    void SetFullScreen(bool fullScreen) override;
    void SetTitle(const std::string& title) override;
    void PumpEvents(const MessageSink& sink) override;
    void CaptureMouse(bool capture) override;
    bool CursorPosition(int& x, int& y) override;
    bool CursorInClient(int width, int height) override;
    void SetSystemCursor(int cursorId) override;

    SDL_Window* Handle() const { return window_; }
    // Maps an SDL key code to a virtual-key number; 0 when the key has none.
    static int VirtualKeyFor(int sdlKey);

protected:
    // The frame the window manager put around the window (top, left, bottom, right); false when
    // the system cannot tell.
    virtual bool ReadBorders(int& top, int& left, int& bottom, int& right);

private:
    void Translate(const SDL_Event& event, const MessageSink& sink);

    SDL_Window* window_ = nullptr;
    std::string error_;
    std::array<SDL_Cursor*, kCursorCount> cursors_{};
    int normalX_ = 0, normalY_ = 0;
    // The frame is only known once a window is shown; the last one seen serves windows made
    // later in the run.
    int frameLeft_ = 0, frameTop_ = 0, frameRight_ = 0, frameBottom_ = 0;
    // The outer position asked for at creation, applied again when Show learns the frame.
    bool placeOnShow_ = false;
    int wantedX_ = 0, wantedY_ = 0;
    int screenWidth_ = 640, screenHeight_ = 480;
    int normalWidth_ = 640, normalHeight_ = 480;
    uint32_t heldButtons_ = 0;
};

}  // namespace Zarvo

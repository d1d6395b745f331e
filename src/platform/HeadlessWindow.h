#pragma once
#include <deque>

#include "platform/PlatformWindow.h"

namespace Zarvo {

// A window that exists only as state: no display is needed. Tests inject events with Post and
// read back what the application asked of the window.
class HeadlessWindow : public PlatformWindow {
public:
    bool Create(const Placement& placement) override;
    void Destroy() override { exists_ = false; }
    bool Exists() const override { return exists_; }
    const std::string& LastError() const override { return error_; }
    PlatformRect WorkArea() override { return workArea; }
    void FrameExtents(int& left, int& top, int& right, int& bottom) override;
    void Show() override { visible = true; }
    void Hide() override { visible = false; }
    void Focus() override {}
    void Raise() override;
    bool IsActive() override { return active; }
    bool IsMinimised() override { return minimised; }
    bool IsVisible() override { return visible; }
    void NormalPosition(int& x, int& y) override;
    void NormalSize(int& width, int& height) override;
    PlatformRect ScreenRect() override;
    void SetFullScreen(bool fullScreen) override { placement.fullScreen = fullScreen; }
    void SetTitle(const std::string& title) override { placement.title = title; }
    void PumpEvents(const MessageSink& sink) override;
    void CaptureMouse(bool capture) override { captured = capture; }
    bool CursorPosition(int& x, int& y) override;
    bool CursorInClient(int width, int height) override;
    void SetSystemCursor(int cursorId) override { systemCursor = cursorId; }

    // Queues an event for the next PumpEvents.
    void Post(const WindowMessage& message) { pending_.push_back(message); }
    // The player dragged the window to a new client size: takes it and posts the size message
    // a real window sends.
    void Resize(int width, int height);

    // State visible to tests.
    PlatformRect workArea{0, 0, 1280, 1024};
    int frameLeft = 0, frameTop = 0, frameRight = 0, frameBottom = 0;
    Placement placement;
    bool visible = false;
    bool active = true;
    bool minimised = false;
    bool captured = false;
    bool cursorKnown = false;
    bool cursorInside = false;
    int cursorX = 0, cursorY = 0;
    int systemCursor = -1;
    int raiseCount = 0;
    int createCount = 0;
    bool failCreate = false;

private:
    bool exists_ = false;
    std::string error_;
    std::deque<WindowMessage> pending_;
};

}  // namespace Zarvo

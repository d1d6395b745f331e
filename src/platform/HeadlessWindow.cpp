#include "platform/HeadlessWindow.h"

#include "platform/Letterbox.h"

namespace Zarvo {

bool HeadlessWindow::Create(const Placement& p) {
    ++createCount;
    if (failCreate) {
        error_ = "window creation refused";
        return false;
    }
    placement = p;
    exists_ = true;
    visible = !p.hidden;
    return true;
}

void HeadlessWindow::FrameExtents(int& left, int& top, int& right, int& bottom) {
    left = frameLeft;
    top = frameTop;
    right = frameRight;
    bottom = frameBottom;
}

void HeadlessWindow::Raise() {
    minimised = false;
    ++raiseCount;
}

void HeadlessWindow::NormalPosition(int& x, int& y) {
    x = placement.x;
    y = placement.y;
}

void HeadlessWindow::NormalSize(int& width, int& height) {
    width = placement.clientWidth;
    height = placement.clientHeight;
}

PlatformRect HeadlessWindow::ScreenRect() {
    const int w = placement.screenWidth > 0 ? placement.screenWidth : placement.clientWidth;
    const int h = placement.screenHeight > 0 ? placement.screenHeight : placement.clientHeight;
    return Letterbox::Fit(placement.clientWidth, placement.clientHeight, w, h);
}

void HeadlessWindow::Resize(int width, int height) {
    placement.clientWidth = width;
    placement.clientHeight = height;
    Post(WindowMessage{WindowMessage::kMainWindow, Msg::kSize, Msg::kSizeRestored,
                       Msg::PackPoint(width, height)});
}

void HeadlessWindow::PumpEvents(const MessageSink& sink) {
    // Events posted while the sink runs wait for the next pump, as a real queue would.
    std::deque<WindowMessage> batch;
    batch.swap(pending_);
    for (const WindowMessage& m : batch) sink(m);
}

bool HeadlessWindow::CursorPosition(int& x, int& y) {
    x = cursorX;
    y = cursorY;
    return cursorKnown;
}

bool HeadlessWindow::CursorInClient(int width, int height) {
    return cursorInside && cursorX >= 0 && cursorY >= 0 && cursorX < width && cursorY < height;
}

}  // namespace Zarvo

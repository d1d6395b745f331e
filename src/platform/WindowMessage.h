#pragma once
#include <cstdint>

namespace Zarvo {

// One window-system message in the form the application's window procedure understands. The
// platform's event source translates its own events into these, keeping the classic message
// numbers, parameter packing and virtual-key codes so that the frame and the widgets keep the
// numbers they are written against.
struct WindowMessage {
    enum Target : int { kMainWindow = 1, kHiddenWindow = 2 };
    int target = kMainWindow;
    uint32_t message = 0;
    uint64_t wParam = 0;
    int64_t lParam = 0;
};

namespace Msg {
constexpr uint32_t kDestroy = 0x0002;
constexpr uint32_t kMove = 0x0003;
constexpr uint32_t kSize = 0x0005;
constexpr uint32_t kEnable = 0x000A;
constexpr uint32_t kPaint = 0x000F;
constexpr uint32_t kClose = 0x0010;
constexpr uint32_t kQueryOpen = 0x0013;
constexpr uint32_t kSysColorChange = 0x0015;
constexpr uint32_t kEndSession = 0x0016;
constexpr uint32_t kActivateApp = 0x001C;
constexpr uint32_t kSetCursor = 0x0020;
constexpr uint32_t kDisplayChange = 0x007E;
constexpr uint32_t kNcLButtonDown = 0x00A1;
constexpr uint32_t kKeyDown = 0x0100;
constexpr uint32_t kKeyUp = 0x0101;
constexpr uint32_t kChar = 0x0102;
constexpr uint32_t kSysKeyDown = 0x0104;
constexpr uint32_t kSysKeyUp = 0x0105;
constexpr uint32_t kSysChar = 0x0106;
constexpr uint32_t kTimer = 0x0113;
constexpr uint32_t kMouseMove = 0x0200;
constexpr uint32_t kLButtonDown = 0x0201;
constexpr uint32_t kLButtonUp = 0x0202;
constexpr uint32_t kLButtonDblClk = 0x0203;
constexpr uint32_t kRButtonDown = 0x0204;
constexpr uint32_t kRButtonUp = 0x0205;
constexpr uint32_t kRButtonDblClk = 0x0206;
constexpr uint32_t kMButtonDown = 0x0207;
constexpr uint32_t kMButtonUp = 0x0208;
constexpr uint32_t kMButtonDblClk = 0x0209;
constexpr uint32_t kMouseWheel = 0x020A;

// wParam of WM_SIZE.
constexpr uint64_t kSizeRestored = 0;
constexpr uint64_t kSizeMinimized = 1;
constexpr uint64_t kSizeMaximized = 2;

// Button bits in the wParam of mouse messages: the buttons held after the event.
constexpr uint64_t kButtonLeft = 0x0001;
constexpr uint64_t kButtonRight = 0x0002;
constexpr uint64_t kButtonMiddle = 0x0010;

// The window timer that drives the mouse-leave and web-page checks.
constexpr uint64_t kFrameTimerId = 100;

// Packs a client point the way mouse messages carry it (signed 16-bit x low, y high).
constexpr int64_t PackPoint(int x, int y) {
    return static_cast<int64_t>(static_cast<uint32_t>(static_cast<uint16_t>(x)) |
                                (static_cast<uint32_t>(static_cast<uint16_t>(y)) << 16));
}
constexpr int PointX(int64_t lParam) {
    return static_cast<int16_t>(static_cast<uint16_t>(lParam & 0xFFFF));
}
constexpr int PointY(int64_t lParam) {
    return static_cast<int16_t>(static_cast<uint16_t>((lParam >> 16) & 0xFFFF));
}
}  // namespace Msg

// Virtual-key numbers used by the frame and the widgets (letters and digits are their upper-case
// ASCII codes).
namespace VKey {
constexpr int kBack = 8;
constexpr int kTab = 9;
constexpr int kReturn = 13;
constexpr int kShift = 16;
constexpr int kControl = 17;
constexpr int kMenu = 18;  // Alt
constexpr int kPause = 19;
constexpr int kCapital = 20;
constexpr int kEscape = 27;
constexpr int kSpace = 32;
constexpr int kPrior = 33;
constexpr int kNext = 34;
constexpr int kEnd = 35;
constexpr int kHome = 36;
constexpr int kLeft = 37;
constexpr int kUp = 38;
constexpr int kRight = 39;
constexpr int kDown = 40;
constexpr int kInsert = 45;
constexpr int kDelete = 46;
constexpr int kF1 = 112;
constexpr int kF4 = 115;
constexpr int kF10 = 121;
}  // namespace VKey

}  // namespace Zarvo

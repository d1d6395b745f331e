#pragma once

namespace Zarvo {

// The cursor ids an application selects its mouse cursor by. Each shows the system cursor named
// here unless a custom image is set for it.
enum CursorId : int {
    kCursorArrow = 0,
    kCursorHand = 1,          // the built-in hand
    kCursorDraggingHand = 2,  // the built-in dragging hand
    kCursorText = 3,
    kCursorNo = 4,
    kCursorSizeAll = 5,
    kCursorSizeNESW = 6,
    kCursorSizeNS = 7,
    kCursorSizeNWSE = 8,
    kCursorSizeWE = 9,
    kCursorWait = 10,
    kCursorNone = 11,        // hidden
    kCursorCustomOnly = 12,  // only a custom image; the system cursor is hidden
    kCursorCount = 13,
};

}  // namespace Zarvo

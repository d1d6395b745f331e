#include "frame/ScreenSaverFilter.h"

namespace Zarvo {

ScreenSaverFilter::Verdict ScreenSaverFilter::Filter(const WindowMessage& m) {
    bool end = false;
    switch (m.message) {
        case Msg::kActivateApp:
            end = m.wParam == 0;
            break;
        case Msg::kKeyDown:
        case Msg::kSysKeyDown:
        case Msg::kLButtonDown:
        case Msg::kRButtonDown:
        case Msg::kMButtonDown:
            end = true;
            break;
        case Msg::kMouseMove:
            // Moves to the same place (a window appearing under the cursor) do not count.
            if (m.lParam != lastMousePoint_) {
                lastMousePoint_ = m.lParam;
                end = ++mouseMoves_ > 3;
            }
            break;
        default:
            break;
    }
    if (!end) return Verdict::kPass;
    if (closePosted_) return Verdict::kConsume;
    closePosted_ = true;
    return Verdict::kConsumeAndClose;
}

}  // namespace Zarvo

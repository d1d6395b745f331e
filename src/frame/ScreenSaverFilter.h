#pragma once
#include <cstdint>

#include "platform/WindowMessage.h"

namespace Zarvo {

// Watches the window messages of a screen-saver run for the first sign of the user: a key, a
// mouse button, the fourth mouse move to a new place, or the application losing activation.
class ScreenSaverFilter {
public:
    enum class Verdict {
        kPass,             // not a sign of the user: handle the message as usual
        kConsume,          // the screen saver is ending: swallow the message
        kConsumeAndClose,  // the first sign of the user: swallow it and close the window once
    };

    Verdict Filter(const WindowMessage& message);

private:
    int64_t lastMousePoint_ = -1;
    int mouseMoves_ = 0;
    bool closePosted_ = false;
};

}  // namespace Zarvo

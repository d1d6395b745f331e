#pragma once
#include "platform/DisplayBackend.h"

namespace Zarvo {

// A display without a screen: the back buffer exists, Present only counts. A result code can be
// forced to exercise the start-up failure paths.
class HeadlessDisplay : public DisplayBackend {
public:
    int Initialize(PlatformWindow& window, int width, int height, bool windowed) override;
    void Present() override { ++presentCount; }

    int forcedResult = kResultOk;  // returned by Initialize when not kResultOk
    int presentCount = 0;
    int initializeCount = 0;
};

}  // namespace Zarvo

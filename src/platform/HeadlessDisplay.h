#pragma once
#include <deque>

#include "platform/DisplayBackend.h"

namespace Zarvo {

// A display without a screen: the back buffer exists, Present counts and keeps the frame it
// would have shown (the back buffer with the software cursor over it). A result code can be
// forced to exercise the start-up failure paths.
class HeadlessDisplay : public DisplayBackend {
public:
    int Initialize(PlatformWindow& window, int width, int height, bool windowed) override;
    void Present() override;

    // Results Initialize answers first, one per call, before it starts to succeed.
    std::deque<int> forcedResults;
    // When set, results are taken from here instead (shared by the displays of one platform).
    std::deque<int>* resultSource = nullptr;
    int presentCount = 0;
    std::vector<uint32_t> presentedFrame;  // the last frame shown
    int initializeCount = 0;
};

}  // namespace Zarvo

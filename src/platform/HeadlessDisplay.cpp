#include "platform/HeadlessDisplay.h"

namespace Zarvo {

int HeadlessDisplay::Initialize(PlatformWindow&, int width, int height, bool windowed) {
    ++initializeCount;
    std::deque<int>& results = resultSource ? *resultSource : forcedResults;
    if (!results.empty()) {
        const int result = results.front();
        results.pop_front();
        if (result != kResultOk) {
            lastError_ = "Initialize: headless display told to fail";
            return result;
        }
    }
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384) {
        lastError_ = "Initialize: invalid screen size";
        return kResultSurfaceFail;
    }
    AllocateBackBuffer(width, height, windowed);
    return kResultOk;
}

void HeadlessDisplay::Present() {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    ++presentCount;
    presentedFrame.assign(backBuffer_.begin(), backBuffer_.end());
    if (!presentedFrame.empty()) DrawCursorOver(presentedFrame.data());
}

}  // namespace Zarvo

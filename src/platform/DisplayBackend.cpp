#include "platform/DisplayBackend.h"

namespace Zarvo {

const char* DisplayBackend::ResultName(int code) {
    switch (code) {
        case kResultOk:
            return "RESULT_OK";
        case kResultFail:
            return "RESULT_FAIL";
        case kResultCreateFail:
            return "RESULT_DD_CREATE_FAIL";
        case kResultSurfaceFail:
            return "RESULT_SURFACE_FAIL";
        case kResultExclusiveFail:
            return "RESULT_EXCLUSIVE_FAIL";
        case kResultDisplayChangeFail:
            return "RESULT_DISPCHANGE_FAIL";
        case kResultInvalidColorDepth:
            return "RESULT_INVALID_COLORDEPTH";
        default:
            return "RESULT_UNKNOWN";
    }
}

bool DisplayBackend::SetCursorImage(const void* image) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    const bool changed = image != cursorImage_;
    cursorImage_ = image;
    return changed;
}

bool DisplayBackend::HasCursorImage() {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    return cursorImage_ != nullptr;
}

void DisplayBackend::SetCursorPosition(int x, int y) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    cursorX_ = x;
    cursorY_ = y;
}

void DisplayBackend::AllocateBackBuffer(int width, int height, bool windowed) {
    width_ = width;
    height_ = height;
    windowed_ = windowed;
    backBuffer_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0xFF000000u);
    SetArgb8888();
}

}  // namespace Zarvo

#include "platform/DisplayBackend.h"

#include <algorithm>

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

bool DisplayBackend::SetCursorImage(std::shared_ptr<const CursorImage> image) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    const bool changed = image != cursorImage_;
    cursorImage_ = std::move(image);
    return changed;
}

bool DisplayBackend::HasCursorImage() {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    return cursorImage_ != nullptr;
}

void DisplayBackend::SetCursorPosition(int x, int y) {
    // Also a stored position must reach the screen: nothing else may be presented for a second
    // when the picture stands still.
    MoveCursorNow(x, y);
}

void DisplayBackend::CursorPosition(int& x, int& y) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    x = cursorX_;
    y = cursorY_;
}

void DisplayBackend::MoveCursorNow(int x, int y) {
    // Presenting belongs to the loop's thread: the loop presents at its next draw step, paced
    // as every present is.
    std::lock_guard<std::recursive_mutex> guard(lock_);
    const bool moved = x != cursorX_ || y != cursorY_;
    cursorX_ = x;
    cursorY_ = y;
    if (moved && cursorImage_) cursorRedraw_ = true;
}

void DisplayBackend::DrawCursorOver(uint32_t* frame) {
    const CursorImage* image = cursorImage_.get();
    if (!frame || !image || image->width <= 0 || image->height <= 0 ||
        image->pixels.size() < static_cast<size_t>(image->width) * image->height) {
        return;
    }
    const long long left = static_cast<long long>(cursorX_) - image->hotX;
    const long long top = static_cast<long long>(cursorY_) - image->hotY;
    const long long x0 = std::max(0LL, left), y0 = std::max(0LL, top);
    const long long x1 = std::min<long long>(width_, left + image->width);
    const long long y1 = std::min<long long>(height_, top + image->height);
    for (long long y = y0; y < y1; ++y) {
        const uint32_t* src = &image->pixels[static_cast<size_t>((y - top) * image->width)];
        uint32_t* dst = frame + y * width_;
        for (long long x = x0; x < x1; ++x) {
            const uint32_t s = src[x - left];
            const uint32_t a = s >> 24;
            if (a == 0) continue;
            const uint32_t d = dst[x];
            uint32_t out = d & 0xFF000000u;
            for (int shift = 0; shift <= 16; shift += 8) {
                const uint32_t sc = (s >> shift) & 0xFF, dc = (d >> shift) & 0xFF;
                out |= ((sc * a + dc * (255 - a)) / 255) << shift;
            }
            dst[x] = out;
        }
    }
}

void DisplayBackend::AllocateBackBuffer(int width, int height, bool windowed) {
    width_ = width;
    height_ = height;
    windowed_ = windowed;
    backBuffer_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0xFF000000u);
    SetArgb8888();
}

}  // namespace Zarvo

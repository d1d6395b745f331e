#pragma once
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "platform/NativeDisplay.h"

namespace Zarvo {

class PlatformWindow;

// The screen image and its presentation. The back buffer holds width x height pixels in
// 0xAARRGGBB, rows top to bottom; the frame's drawing goes there and Present shows it.
// Implementations: SdlDisplay (an SDL renderer with one streaming texture) and HeadlessDisplay.
// There is no 3-D mode on this platform.
class DisplayBackend : public NativeDisplay {
public:
    // Result codes of Initialize.
    enum Result : int {
        kResultOk = 0,
        kResultFail = 1,
        kResultCreateFail = 2,
        kResultSurfaceFail = 3,
        kResultExclusiveFail = 4,
        kResultDisplayChangeFail = 5,
        kResultInvalidColorDepth = 6,
    };

    virtual ~DisplayBackend() = default;

    // Makes the screen image of the given size for `window`, windowed or desktop full screen.
    // On failure returns a result code other than kResultOk and sets LastError().
    virtual int Initialize(PlatformWindow& window, int width, int height, bool windowed) = 0;
    // Shows the back buffer (and the software cursor) on the screen.
    virtual void Present() = 0;
    // Length of one display refresh in ms (used for the emulated refresh wait).
    virtual int RefreshPeriodMs() const { return 16; }
    // Whether presenting waits for the display refresh; set before Initialize.
    void SetVSync(bool on) { vsync_ = on; }

    uint32_t* Pixels() { return backBuffer_.empty() ? nullptr : backBuffer_.data(); }
    std::vector<uint32_t>& BackBuffer() { return backBuffer_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    bool IsWindowed() const { return windowed_; }
    const std::string& LastError() const { return lastError_; }
    // The name of a result code as used in error texts.
    static const char* ResultName(int code);

    // The back-end's critical section: guards the cursor state and shared-image cleaning.
    std::recursive_mutex& CriticalSection() { return lock_; }

    // Software cursor: an image (owned by the caller) drawn over the back buffer at the cursor
    // position. SetCursorImage answers whether the image changed.
    bool SetCursorImage(const void* image);
    bool HasCursorImage();
    void SetCursorPosition(int x, int y);
    // Moves the software cursor on the screen at once (called by the cursor thread).
    virtual void MoveCursorNow(int x, int y) { SetCursorPosition(x, y); }

protected:
    void AllocateBackBuffer(int width, int height, bool windowed);

    std::vector<uint32_t> backBuffer_;
    int width_ = 0;
    int height_ = 0;
    bool windowed_ = true;
    bool vsync_ = false;
    std::string lastError_;
    std::recursive_mutex lock_;
    const void* cursorImage_ = nullptr;
    int cursorX_ = 0;
    int cursorY_ = 0;
};

}  // namespace Zarvo

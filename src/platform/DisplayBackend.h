#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/AlignedBuffer.h"
#include "platform/CursorImage.h"
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
    // Lets go of the window before it is destroyed; Initialize makes the screen again.
    virtual void Shutdown() {}
    // Length of one display refresh in ms (used for the emulated refresh wait).
    virtual int RefreshPeriodMs() const { return 16; }
    // Whether presenting waits for the display refresh; set before Initialize.
    void SetVSync(bool on) { vsync_ = on; }

    uint32_t* Pixels() { return backBuffer_.empty() ? nullptr : backBuffer_.data(); }
    std::vector<uint32_t, AlignedAllocator<uint32_t>>& BackBuffer() { return backBuffer_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    bool IsWindowed() const { return windowed_; }
    const std::string& LastError() const { return lastError_; }
    // The name of a result code as used in error texts.
    static const char* ResultName(int code);

    // The back-end's critical section: guards the cursor state and shared-image cleaning.
    std::recursive_mutex& CriticalSection() { return lock_; }

    // Software cursor: a picture drawn over every presented frame with its hot spot at the
    // cursor position (screen-image pixels), blended by its alpha; the back buffer itself is
    // never touched. SetCursorImage (null: none) answers whether the picture changed.
    bool SetCursorImage(std::shared_ptr<const CursorImage> image);
    bool HasCursorImage();
    // The cursor thread's position of the software cursor. A move asks the loop for a present
    // (TakeCursorRedraw): presenting belongs to the thread that runs the loop, so "now" means
    // at the loop's next draw step.
    void SetCursorPosition(int x, int y);
    virtual void MoveCursorNow(int x, int y);
    void CursorPosition(int& x, int& y);
    // Whether a moved software cursor waits for a present; clears the request.
    bool TakeCursorRedraw() { return cursorRedraw_.exchange(false); }

protected:
    void AllocateBackBuffer(int width, int height, bool windowed);
    // Blends the software cursor, if any, into `frame` (the screen image's size and layout);
    // the caller holds the critical section.
    void DrawCursorOver(uint32_t* frame);

    std::vector<uint32_t, AlignedAllocator<uint32_t>> backBuffer_;
    int width_ = 0;
    int height_ = 0;
    bool windowed_ = true;
    bool vsync_ = false;
    std::string lastError_;
    std::recursive_mutex lock_;
    std::shared_ptr<const CursorImage> cursorImage_;
    int cursorX_ = 0;
    int cursorY_ = 0;
    std::atomic<bool> cursorRedraw_{false};
};

}  // namespace Zarvo

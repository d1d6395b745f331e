#pragma once
#include <atomic>

#include "platform/DisplayBackend.h"
#include "platform/PlatformRect.h"

struct SDL_Renderer;
struct SDL_Texture;

namespace Zarvo {

class SdlWindow;

// The display back-end on an SDL2 renderer with one streaming ARGB8888 texture. The screen
// image is scaled to fit the window's output at every present (Letterbox: one scale, centred,
// black bars), so a resized window and desktop full screen show the whole picture and the
// monitor's mode is never changed. Whole-multiple scales use nearest-pixel sampling and stay
// sharp; other scales are smoothed. Presents without vsync unless asked.
// Implemented: initialisation with result codes, present, refresh period, the software cursor
// (its picture as a second, blended texture drawn over each presented frame, so that moving it
// re-uploads nothing but the frame).
// Not implemented: no 3-D mode.
class SdlDisplay : public DisplayBackend {
public:
    SdlDisplay() = default;
    ~SdlDisplay() override;
    SdlDisplay(const SdlDisplay&) = delete;
    SdlDisplay& operator=(const SdlDisplay&) = delete;

    int Initialize(PlatformWindow& window, int width, int height, bool windowed) override;
    void Present() override;
    void Shutdown() override;
    // Also read by the application's cursor thread while a change of screen mode runs Initialize.
    int RefreshPeriodMs() const override { return refreshPeriodMs_.load(); }
    // What the window shows after the last present, in output pixels as 0xAARRGGBB: a
    // screenshot of the letterboxed, scaled picture. False when the renderer cannot read back.
    bool ReadWindowPixels(std::vector<uint32_t>& pixels, int& width, int& height);

private:
    void Release();
    // Draws the software cursor over the rendered frame; the caller holds the critical section.
    void RenderCursor();

    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    SDL_Texture* cursorTexture_ = nullptr;
    std::shared_ptr<const CursorImage> cursorTextureSource_;  // what cursorTexture_ shows
    std::atomic<int> refreshPeriodMs_{16};
    PlatformRect picture_;  // where the last present put the screen image, in output pixels
    int scaleMode_ = -1;    // the SDL_ScaleMode of the textures, -1 before the first present
};

}  // namespace Zarvo

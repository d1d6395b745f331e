#pragma once
#include "platform/DisplayBackend.h"

struct SDL_Renderer;
struct SDL_Texture;

namespace Zarvo {

class SdlWindow;

// The display back-end on an SDL2 renderer with one streaming ARGB8888 texture. Windowed, the
// screen image fills the window; in desktop full screen (and in a resized window) it is scaled
// to fit with letterboxing through the renderer's logical size, so the monitor's mode is never
// changed. Presents without vsync unless asked.
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
    int RefreshPeriodMs() const override { return refreshPeriodMs_; }

private:
    void Release();
    // Draws the software cursor over the rendered frame; the caller holds the critical section.
    void RenderCursor();

    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    SDL_Texture* cursorTexture_ = nullptr;
    std::shared_ptr<const CursorImage> cursorTextureSource_;  // what cursorTexture_ shows
    int refreshPeriodMs_ = 16;
};

}  // namespace Zarvo

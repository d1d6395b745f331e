#include "platform/SdlDisplay.h"

#include <SDL.h>

#include "platform/SdlWindow.h"

namespace Zarvo {

namespace {
std::string Failed(const char* operation) {
    return std::string(operation) + ": " + SDL_GetError();
}
}  // namespace

SdlDisplay::~SdlDisplay() {
    Release();
}

void SdlDisplay::Shutdown() {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    Release();
}

void SdlDisplay::Release() {
    if (cursorTexture_) SDL_DestroyTexture(cursorTexture_);
    cursorTexture_ = nullptr;
    cursorTextureSource_.reset();
    if (texture_) SDL_DestroyTexture(texture_);
    if (renderer_) SDL_DestroyRenderer(renderer_);
    texture_ = nullptr;
    renderer_ = nullptr;
}

int SdlDisplay::Initialize(PlatformWindow& window, int width, int height, bool windowed) {
    Release();
    auto* sdlWindow = dynamic_cast<SdlWindow*>(&window);
    if (!sdlWindow || !sdlWindow->Handle()) {
        lastError_ = "Initialize: no window";
        return kResultFail;
    }
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384) {
        lastError_ = "Initialize: invalid screen size";
        return kResultSurfaceFail;
    }
    SDL_Window* handle = sdlWindow->Handle();
    if (SDL_SetWindowFullscreen(handle, windowed ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) {
        lastError_ = Failed("SDL_SetWindowFullscreen");
        return kResultDisplayChangeFail;
    }
    const Uint32 vsyncFlag = vsync_ ? SDL_RENDERER_PRESENTVSYNC : 0;
    renderer_ = SDL_CreateRenderer(handle, -1, SDL_RENDERER_ACCELERATED | vsyncFlag);
    if (!renderer_) renderer_ = SDL_CreateRenderer(handle, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer_) {
        lastError_ = Failed("SDL_CreateRenderer");
        return kResultCreateFail;
    }
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
    if (SDL_RenderSetLogicalSize(renderer_, width, height) != 0) {
        lastError_ = Failed("SDL_RenderSetLogicalSize");
        Release();
        return kResultCreateFail;
    }
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                 width, height);
    if (!texture_) {
        lastError_ = Failed("SDL_CreateTexture");
        Release();
        return kResultSurfaceFail;
    }
    SDL_DisplayMode mode;
    const int display = SDL_GetWindowDisplayIndex(handle);
    if (SDL_GetCurrentDisplayMode(display < 0 ? 0 : display, &mode) == 0 && mode.refresh_rate > 0) {
        refreshPeriodMs_ = 1000 / mode.refresh_rate;
    }
    AllocateBackBuffer(width, height, windowed);
    return kResultOk;
}

void SdlDisplay::Present() {
    if (!renderer_ || !texture_) return;
    std::lock_guard<std::recursive_mutex> guard(lock_);
    SDL_UpdateTexture(texture_, nullptr, backBuffer_.data(), width_ * 4);
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
    RenderCursor();
    SDL_RenderPresent(renderer_);
}

void SdlDisplay::RenderCursor() {
    const std::shared_ptr<const CursorImage>& image = cursorImage_;
    if (!image || image->width <= 0 || image->height <= 0 ||
        image->pixels.size() < static_cast<size_t>(image->width) * image->height) {
        return;
    }
    if (image != cursorTextureSource_) {
        if (cursorTexture_) SDL_DestroyTexture(cursorTexture_);
        cursorTexture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888,
                                           SDL_TEXTUREACCESS_STATIC, image->width, image->height);
        cursorTextureSource_ = image;
        if (!cursorTexture_) return;
        SDL_UpdateTexture(cursorTexture_, nullptr, image->pixels.data(), image->width * 4);
        SDL_SetTextureBlendMode(cursorTexture_, SDL_BLENDMODE_BLEND);
    }
    if (!cursorTexture_) return;
    // In screen-image pixels: the renderer's logical size scales it with the frame.
    const SDL_Rect where{cursorX_ - image->hotX, cursorY_ - image->hotY, image->width,
                         image->height};
    SDL_RenderCopy(renderer_, cursorTexture_, nullptr, &where);
}

}  // namespace Zarvo

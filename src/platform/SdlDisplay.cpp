#include "platform/SdlDisplay.h"

#include <SDL.h>

#include "platform/Letterbox.h"
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
    // The picture is placed by hand (Letterbox), not with the renderer's logical size, which
    // would also rewrite the mouse positions behind the application's back.
    // The screen is opaque: the back buffer's alpha byte is not shown (XRGB, copied, never
    // blended), which is also the cheapest picture for every renderer to put on the window.
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                 width, height);
    if (texture_) SDL_SetTextureBlendMode(texture_, SDL_BLENDMODE_NONE);
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
    scaleMode_ = -1;
    AllocateBackBuffer(width, height, windowed);
    return kResultOk;
}

void SdlDisplay::Present() {
    if (!renderer_ || !texture_) return;
    std::lock_guard<std::recursive_mutex> guard(lock_);
    SDL_UpdateTexture(texture_, nullptr, backBuffer_.data(), width_ * 4);
    int outputWidth = width_, outputHeight = height_;
    SDL_GetRendererOutputSize(renderer_, &outputWidth, &outputHeight);
    picture_ = Letterbox::Fit(outputWidth, outputHeight, width_, height_);
    // Only the bars around a picture that does not fill the window need clearing.
    if (picture_.x != 0 || picture_.y != 0 || picture_.width != outputWidth ||
        picture_.height != outputHeight) {
        SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
        SDL_RenderClear(renderer_);
    }
    // Whole multiples stay sharp; any other scale is smoothed rather than left with uneven
    // rows and columns.
    const int mode = Letterbox::IsWholeMultiple(picture_, width_, height_)
                         ? static_cast<int>(SDL_ScaleModeNearest)
                         : static_cast<int>(SDL_ScaleModeLinear);
    if (mode != scaleMode_) {
        SDL_SetTextureScaleMode(texture_, static_cast<SDL_ScaleMode>(mode));
        if (cursorTexture_)
            SDL_SetTextureScaleMode(cursorTexture_, static_cast<SDL_ScaleMode>(mode));
        scaleMode_ = mode;
    }
    const SDL_Rect where{picture_.x, picture_.y, picture_.width, picture_.height};
    SDL_RenderCopy(renderer_, texture_, nullptr, &where);
    RenderCursor();
    SDL_RenderPresent(renderer_);
}

bool SdlDisplay::ReadWindowPixels(std::vector<uint32_t>& pixels, int& width, int& height) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    if (!renderer_) return false;
    int w = 0, h = 0;
    if (SDL_GetRendererOutputSize(renderer_, &w, &h) != 0 || w <= 0 || h <= 0) return false;
    std::vector<uint32_t> out(static_cast<size_t>(w) * h);
    if (SDL_RenderReadPixels(renderer_, nullptr, SDL_PIXELFORMAT_ARGB8888, out.data(), w * 4) !=
        0) {
        return false;
    }
    pixels = std::move(out);
    width = w;
    height = h;
    return true;
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
        if (scaleMode_ >= 0) {
            SDL_SetTextureScaleMode(cursorTexture_, static_cast<SDL_ScaleMode>(scaleMode_));
        }
    }
    if (!cursorTexture_) return;
    // The position is in screen-image pixels: scale it with the picture.
    if (width_ <= 0 || height_ <= 0) return;
    auto sx = [&](int v) {
        return picture_.x + static_cast<int>(int64_t{v} * picture_.width / width_);
    };
    auto sy = [&](int v) {
        return picture_.y + static_cast<int>(int64_t{v} * picture_.height / height_);
    };
    const int left = cursorX_ - image->hotX, top = cursorY_ - image->hotY;
    const SDL_Rect where{sx(left), sy(top), sx(left + image->width) - sx(left),
                         sy(top + image->height) - sy(top)};
    SDL_RenderCopy(renderer_, cursorTexture_, nullptr, &where);
}

}  // namespace Zarvo

#include "platform/SdlWindow.h"

#include <SDL.h>

#include "platform/Letterbox.h"
#include "platform/SignalWatcher.h"

namespace Zarvo {

namespace {

// The two built-in hands as 32x32 pictures: 'X' black, 'o' white, anything else transparent.
// The pointing hand's finger tip is its hot spot (11, 4); the dragging hand's is (15, 10).
const char* const kHandRows[] = {
    "",
    "",
    "",
    "",
    "          XX",
    "         XooX",
    "         XooX",
    "         XooX",
    "         XooXX",
    "         XooXoXX",
    "         XooXooXXX",
    "      XX XooXooXooXX",
    "     XooXXooXooXooXoX",
    "     XoooXooooooooXooX",
    "      XooXoooooooooooX",
    "       XoXoooooooooooX",
    "       XooooooooooooX",
    "        XoooooooooooX",
    "        XooooooooooX",
    "         XoooooooooX",
    "         XoooooooooX",
    "          XXXXXXXXX",
};
const char* const kDragHandRows[] = {
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "           XX XX XX",
    "          XooXooXooXX",
    "          XooXooXooXoX",
    "        XXXooooooooooX",
    "       XooXoooooooooooX",
    "       XoooooooooooooX",
    "        XooooooooooooX",
    "         XoooooooooooX",
    "         XooooooooooX",
    "          XoooooooooX",
    "          XoooooooooX",
    "           XXXXXXXXX",
};

template <size_t N>
SDL_Cursor* MakeCursor(const char* const (&rows)[N], int hotX, int hotY) {
    Uint8 data[32 * 4] = {};
    Uint8 mask[32 * 4] = {};
    for (size_t y = 0; y < N && y < 32; ++y) {
        for (int x = 0; rows[y][x] != '\0' && x < 32; ++x) {
            const int byte = static_cast<int>(y) * 4 + x / 8;
            const Uint8 bit = static_cast<Uint8>(0x80 >> (x % 8));
            if (rows[y][x] == 'X') {
                data[byte] |= bit;
                mask[byte] |= bit;
            } else if (rows[y][x] == 'o') {
                mask[byte] |= bit;
            }
        }
    }
    return SDL_CreateCursor(data, mask, 32, 32, hotX, hotY);
}

uint64_t HeldButtonBits(uint32_t sdlState) {
    uint64_t bits = 0;
    if (sdlState & SDL_BUTTON_LMASK) bits |= Msg::kButtonLeft;
    if (sdlState & SDL_BUTTON_RMASK) bits |= Msg::kButtonRight;
    if (sdlState & SDL_BUTTON_MMASK) bits |= Msg::kButtonMiddle;
    return bits;
}

}  // namespace

SdlWindow::SdlWindow() {
    SignalWatcher::Install();
}

SdlWindow::~SdlWindow() {
    Destroy();
    for (SDL_Cursor*& c : cursors_) {
        if (c) SDL_FreeCursor(c);
        c = nullptr;
    }
}

bool SdlWindow::Create(const Placement& p) {
    Destroy();
    Uint32 flags = SDL_WINDOW_ALLOW_HIGHDPI;
    if (p.hidden) flags |= SDL_WINDOW_HIDDEN;
    if (p.resizable) flags |= SDL_WINDOW_RESIZABLE;
    if (p.fullScreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    // SDL positions the client area; the frame lies around it. Its size is the last one seen
    // until Show reads the frame of this window.
    window_ = SDL_CreateWindow(p.title.c_str(), p.x + frameLeft_, p.y + frameTop_, p.clientWidth,
                               p.clientHeight, flags);
    if (!window_) {
        error_ = std::string("SDL_CreateWindow: ") + SDL_GetError();
        return false;
    }
    screenWidth_ = p.screenWidth > 0 ? p.screenWidth : p.clientWidth;
    screenHeight_ = p.screenHeight > 0 ? p.screenHeight : p.clientHeight;
    normalWidth_ = p.clientWidth;
    normalHeight_ = p.clientHeight;
    normalX_ = p.x;
    normalY_ = p.y;
    placeOnShow_ = !p.fullScreen;
    wantedX_ = p.x;
    wantedY_ = p.y;
    SDL_SetWindowMinimumSize(window_, kMinimumClientWidth, kMinimumClientHeight);
    return true;
}

void SdlWindow::Destroy() {
    if (window_) SDL_DestroyWindow(window_);
    window_ = nullptr;
}

PlatformRect SdlWindow::WorkArea() {
    SDL_Rect r{0, 0, 0, 0};
    const int display = window_ ? SDL_GetWindowDisplayIndex(window_) : 0;
    if (SDL_GetDisplayUsableBounds(display < 0 ? 0 : display, &r) != 0 || r.w <= 0 || r.h <= 0) {
        if (SDL_GetDisplayBounds(0, &r) != 0 || r.w <= 0 || r.h <= 0) r = SDL_Rect{0, 0, 1024, 768};
    }
    return PlatformRect{r.x, r.y, r.w, r.h};
}

bool SdlWindow::ReadBorders(int& top, int& left, int& bottom, int& right) {
    return SDL_GetWindowBordersSize(window_, &top, &left, &bottom, &right) == 0;
}

void SdlWindow::FrameExtents(int& left, int& top, int& right, int& bottom) {
    // A hidden window has no frame yet; it would read as none.
    if (window_ && (SDL_GetWindowFlags(window_) & SDL_WINDOW_SHOWN) != 0) {
        int t = 0, l = 0, b = 0, r = 0;
        if (ReadBorders(t, l, b, r) && t >= 0 && l >= 0 && b >= 0 && r >= 0) {
            frameLeft_ = l;
            frameTop_ = t;
            frameRight_ = r;
            frameBottom_ = b;
        }
    }
    left = frameLeft_;
    top = frameTop_;
    right = frameRight_;
    bottom = frameBottom_;
}

void SdlWindow::Show() {
    if (!window_) return;
    const int usedLeft = frameLeft_, usedTop = frameTop_;
    SDL_ShowWindow(window_);
    if (!placeOnShow_) return;
    placeOnShow_ = false;
    // Now the frame is known: move the client so that the outer corner is where it was asked
    // for, or every saved and restored position would creep by the frame size.
    int left = 0, top = 0, right = 0, bottom = 0;
    FrameExtents(left, top, right, bottom);
    if (left != usedLeft || top != usedTop) {
        SDL_SetWindowPosition(window_, wantedX_ + left, wantedY_ + top);
    }
}

void SdlWindow::Hide() {
    if (window_) SDL_HideWindow(window_);
}

void SdlWindow::Focus() {
    if (window_) SDL_SetWindowInputFocus(window_);
}

void SdlWindow::Raise() {
    if (!window_) return;
    if (SDL_GetWindowFlags(window_) & SDL_WINDOW_MINIMIZED) SDL_RestoreWindow(window_);
    SDL_RaiseWindow(window_);
}

bool SdlWindow::IsActive() {
    return window_ && (SDL_GetWindowFlags(window_) & SDL_WINDOW_INPUT_FOCUS) != 0;
}

bool SdlWindow::IsMinimised() {
    return window_ && (SDL_GetWindowFlags(window_) & SDL_WINDOW_MINIMIZED) != 0;
}

bool SdlWindow::IsVisible() {
    return window_ && (SDL_GetWindowFlags(window_) & SDL_WINDOW_SHOWN) != 0;
}

void SdlWindow::NormalPosition(int& x, int& y) {
    if (window_) {
        const Uint32 flags = SDL_GetWindowFlags(window_);
        if (!(flags & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_MAXIMIZED | SDL_WINDOW_FULLSCREEN))) {
            int cx = 0, cy = 0, left = 0, top = 0, right = 0, bottom = 0;
            SDL_GetWindowPosition(window_, &cx, &cy);
            FrameExtents(left, top, right, bottom);
            normalX_ = cx - left;
            normalY_ = cy - top;
        }
    }
    x = normalX_;
    y = normalY_;
}

void SdlWindow::NormalSize(int& width, int& height) {
    if (window_) {
        const Uint32 flags = SDL_GetWindowFlags(window_);
        if (!(flags & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_MAXIMIZED | SDL_WINDOW_FULLSCREEN))) {
            int w = 0, h = 0;
            SDL_GetWindowSize(window_, &w, &h);
            if (w > 0 && h > 0) {
                normalWidth_ = w;
                normalHeight_ = h;
            }
        }
    }
    width = normalWidth_;
    height = normalHeight_;
}

PlatformRect SdlWindow::ScreenRect() {
    int w = screenWidth_, h = screenHeight_;
    if (window_) SDL_GetWindowSize(window_, &w, &h);
    return Letterbox::Fit(w, h, screenWidth_, screenHeight_);
}

void SdlWindow::SetFullScreen(bool fullScreen) {
    if (window_) SDL_SetWindowFullscreen(window_, fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
}

void SdlWindow::SetTitle(const std::string& title) {
    if (window_) SDL_SetWindowTitle(window_, title.c_str());
}

void SdlWindow::PumpEvents(const MessageSink& sink) {
    if (SignalWatcher::TakeCloseRequest())
        sink(WindowMessage{WindowMessage::kMainWindow, Msg::kClose, 0, 0});
    SDL_Event event;
    while (SDL_PollEvent(&event)) Translate(event, sink);
}

int SdlWindow::VirtualKeyFor(int key) {
    if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
    if (key >= SDLK_F1 && key <= SDLK_F12) return VKey::kF1 + (key - SDLK_F1);
    switch (key) {
        case SDLK_BACKSPACE:
            return VKey::kBack;
        case SDLK_TAB:
            return VKey::kTab;
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            return VKey::kReturn;
        case SDLK_LSHIFT:
        case SDLK_RSHIFT:
            return VKey::kShift;
        case SDLK_LCTRL:
        case SDLK_RCTRL:
            return VKey::kControl;
        case SDLK_LALT:
        case SDLK_RALT:
            return VKey::kMenu;
        case SDLK_PAUSE:
            return VKey::kPause;
        case SDLK_CAPSLOCK:
            return VKey::kCapital;
        case SDLK_ESCAPE:
            return VKey::kEscape;
        case SDLK_SPACE:
            return VKey::kSpace;
        case SDLK_PAGEUP:
            return VKey::kPrior;
        case SDLK_PAGEDOWN:
            return VKey::kNext;
        case SDLK_END:
            return VKey::kEnd;
        case SDLK_HOME:
            return VKey::kHome;
        case SDLK_LEFT:
            return VKey::kLeft;
        case SDLK_UP:
            return VKey::kUp;
        case SDLK_RIGHT:
            return VKey::kRight;
        case SDLK_DOWN:
            return VKey::kDown;
        case SDLK_INSERT:
            return VKey::kInsert;
        case SDLK_DELETE:
            return VKey::kDelete;
        default:
            return 0;
    }
}

void SdlWindow::Translate(const SDL_Event& e, const MessageSink& sink) {
    auto send = [&](uint32_t message, uint64_t w, int64_t l) {
        sink(WindowMessage{WindowMessage::kMainWindow, message, w, l});
    };
    switch (e.type) {
        case SDL_QUIT:
            send(Msg::kClose, 0, 0);
            break;
        case SDL_MOUSEMOTION:
            // Window coordinates: the application maps them onto the screen image.
            send(Msg::kMouseMove, HeldButtonBits(e.motion.state),
                 Msg::PackPoint(e.motion.x, e.motion.y));
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            const bool down = e.type == SDL_MOUSEBUTTONDOWN;
            const bool dbl = down && e.button.clicks >= 2 && e.button.clicks % 2 == 0;
            uint32_t message = 0;
            uint64_t bit = 0;
            if (e.button.button == SDL_BUTTON_LEFT) {
                message = down ? (dbl ? Msg::kLButtonDblClk : Msg::kLButtonDown) : Msg::kLButtonUp;
                bit = Msg::kButtonLeft;
            } else if (e.button.button == SDL_BUTTON_RIGHT) {
                message = down ? (dbl ? Msg::kRButtonDblClk : Msg::kRButtonDown) : Msg::kRButtonUp;
                bit = Msg::kButtonRight;
            } else if (e.button.button == SDL_BUTTON_MIDDLE) {
                message = down ? (dbl ? Msg::kMButtonDblClk : Msg::kMButtonDown) : Msg::kMButtonUp;
                bit = Msg::kButtonMiddle;
            } else {
                break;
            }
            if (down)
                heldButtons_ |= static_cast<uint32_t>(bit);
            else
                heldButtons_ &= ~static_cast<uint32_t>(bit);
            send(message, heldButtons_, Msg::PackPoint(e.button.x, e.button.y));
            break;
        }
        case SDL_MOUSEWHEEL: {
            int y = e.wheel.y;
            if (e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) y = -y;
            const uint16_t delta = static_cast<uint16_t>(static_cast<int16_t>(y * 120));
            int mx = 0, my = 0;
            SDL_GetMouseState(&mx, &my);
            send(Msg::kMouseWheel, static_cast<uint64_t>(delta) << 16 | heldButtons_,
                 Msg::PackPoint(mx, my));
            break;
        }
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            const int vk = VirtualKeyFor(e.key.keysym.sym);
            if (vk == 0) break;
            const bool alt = (e.key.keysym.mod & KMOD_ALT) != 0 || vk == VKey::kMenu;
            const bool down = e.type == SDL_KEYDOWN;
            const bool system = alt || (down && vk == VKey::kF10);
            uint32_t message = down ? (system ? Msg::kSysKeyDown : Msg::kKeyDown)
                                    : (system ? Msg::kSysKeyUp : Msg::kKeyUp);
            int64_t lParam = 1;
            if (e.key.repeat) lParam |= int64_t{1} << 30;
            if (!down) lParam |= int64_t{3} << 30;
            if (alt) lParam |= int64_t{1} << 29;
            send(message, static_cast<uint64_t>(vk), lParam);
            // Keys that type a control character produce it as a character message too.
            if (down && !alt &&
                (vk == VKey::kBack || vk == VKey::kTab || vk == VKey::kReturn ||
                 vk == VKey::kEscape)) {
                send(Msg::kChar, static_cast<uint64_t>(vk), lParam);
            }
            break;
        }
        case SDL_TEXTINPUT: {
            // Characters beyond Latin-1 have no single-byte form and are dropped.
            const unsigned char* s = reinterpret_cast<const unsigned char*>(e.text.text);
            for (size_t i = 0; i < sizeof(e.text.text) && s[i] != 0;) {
                uint32_t cp = s[i];
                size_t len = 1;
                if (cp >= 0xF0)
                    len = 4, cp &= 0x07;
                else if (cp >= 0xE0)
                    len = 3, cp &= 0x0F;
                else if (cp >= 0xC0)
                    len = 2, cp &= 0x1F;
                bool ok = true;
                for (size_t k = 1; k < len; ++k) {
                    if (i + k >= sizeof(e.text.text) || (s[i + k] & 0xC0) != 0x80) {
                        ok = false;
                        len = k;
                        break;
                    }
                    cp = (cp << 6) | (s[i + k] & 0x3F);
                }
                if (ok && cp >= 32 && cp < 256 && cp != 127) send(Msg::kChar, cp, 1);
                i += len;
            }
            break;
        }
        case SDL_DISPLAYEVENT:
            send(Msg::kDisplayChange, 32, 0);
            break;
        case SDL_WINDOWEVENT:
            switch (e.window.event) {
                case SDL_WINDOWEVENT_FOCUS_GAINED:
                    send(Msg::kActivateApp, 1, 0);
                    break;
                case SDL_WINDOWEVENT_FOCUS_LOST:
                    send(Msg::kActivateApp, 0, 0);
                    break;
                case SDL_WINDOWEVENT_MINIMIZED:
                    send(Msg::kSize, Msg::kSizeMinimized, 0);
                    break;
                case SDL_WINDOWEVENT_MAXIMIZED:
                    send(Msg::kSize, Msg::kSizeMaximized, 0);
                    break;
                case SDL_WINDOWEVENT_RESTORED:
                    send(Msg::kSize, Msg::kSizeRestored, 0);
                    break;
                case SDL_WINDOWEVENT_SIZE_CHANGED:
                    // Every new size, as the player drags the frame or the window manager
                    // tiles the window; the application places the picture and the mouse anew.
                    send(Msg::kSize, Msg::kSizeRestored,
                         Msg::PackPoint(e.window.data1, e.window.data2));
                    break;
                case SDL_WINDOWEVENT_MOVED:
                    send(Msg::kMove, 0, Msg::PackPoint(e.window.data1, e.window.data2));
                    break;
                case SDL_WINDOWEVENT_CLOSE:
                    send(Msg::kClose, 0, 0);
                    break;
                case SDL_WINDOWEVENT_EXPOSED:
                    send(Msg::kPaint, 0, 0);
                    break;
                default:
                    break;
            }
            break;
        default:
            break;
    }
}

void SdlWindow::CaptureMouse(bool capture) {
    SDL_CaptureMouse(capture ? SDL_TRUE : SDL_FALSE);
}

bool SdlWindow::CursorPosition(int& x, int& y) {
    if (!window_) return false;
    int gx = 0, gy = 0, wx = 0, wy = 0;
    SDL_GetGlobalMouseState(&gx, &gy);
    SDL_GetWindowPosition(window_, &wx, &wy);
    x = gx - wx;
    y = gy - wy;
    return true;
}

bool SdlWindow::CursorInClient(int width, int height) {
    if (!window_ || SDL_GetMouseFocus() != window_) return false;
    int x = 0, y = 0;
    SDL_GetMouseState(&x, &y);
    int w = 0, h = 0;
    SDL_GetWindowSize(window_, &w, &h);
    const PlatformRect picture = Letterbox::Fit(w, h, width, height);
    return x >= picture.x && y >= picture.y && x < picture.x + picture.width &&
           y < picture.y + picture.height;
}

void SdlWindow::SetSystemCursor(int id) {
    if (id == kCursorNone || id == kCursorCustomOnly) {
        SDL_ShowCursor(SDL_DISABLE);
        return;
    }
    if (id < 0 || id >= kCursorCount) id = kCursorArrow;
    if (!cursors_[id]) {
        static const SDL_SystemCursor kSystem[kCursorCount] = {
            SDL_SYSTEM_CURSOR_ARROW,    SDL_SYSTEM_CURSOR_HAND,   SDL_SYSTEM_CURSOR_HAND,
            SDL_SYSTEM_CURSOR_IBEAM,    SDL_SYSTEM_CURSOR_NO,     SDL_SYSTEM_CURSOR_SIZEALL,
            SDL_SYSTEM_CURSOR_SIZENESW, SDL_SYSTEM_CURSOR_SIZENS, SDL_SYSTEM_CURSOR_SIZENWSE,
            SDL_SYSTEM_CURSOR_SIZEWE,   SDL_SYSTEM_CURSOR_WAIT,   SDL_SYSTEM_CURSOR_ARROW,
            SDL_SYSTEM_CURSOR_ARROW};
        if (id == kCursorHand)
            cursors_[id] = MakeCursor(kHandRows, 11, 4);
        else if (id == kCursorDraggingHand)
            cursors_[id] = MakeCursor(kDragHandRows, 15, 10);
        if (!cursors_[id]) cursors_[id] = SDL_CreateSystemCursor(kSystem[id]);
    }
    if (cursors_[id]) SDL_SetCursor(cursors_[id]);
    SDL_ShowCursor(SDL_ENABLE);
}

}  // namespace Zarvo

#include "platform/SdlEventInjector.h"

#include <SDL.h>

#include "platform/SdlWindow.h"

namespace Zarvo {

bool SdlEventInjector::Key(const std::string& sdlKeyName, bool down, bool alt) {
    const SDL_Keycode key = SDL_GetKeyFromName(sdlKeyName.c_str());
    if (key == SDLK_UNKNOWN) return false;
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.windowID = SDL_GetWindowID(window_.Handle());
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = key;
    e.key.keysym.scancode = SDL_GetScancodeFromKey(key);
    e.key.keysym.mod = alt ? KMOD_LALT : KMOD_NONE;
    return SDL_PushEvent(&e) == 1;
}

void SdlEventInjector::MouseButton(Button button, bool down, int clicks, int x, int y) {
    SDL_Event e{};
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.windowID = SDL_GetWindowID(window_.Handle());
    e.button.button = static_cast<Uint8>(button);
    e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.button.clicks = static_cast<Uint8>(clicks);
    e.button.x = x;
    e.button.y = y;
    SDL_PushEvent(&e);
}

void SdlEventInjector::Text(const std::string& utf8) {
    SDL_Event e{};
    e.type = SDL_TEXTINPUT;
    e.text.windowID = SDL_GetWindowID(window_.Handle());
    SDL_strlcpy(e.text.text, utf8.c_str(), sizeof e.text.text);
    SDL_PushEvent(&e);
}

void SdlEventInjector::Quit() {
    SDL_Event e{};
    e.type = SDL_QUIT;
    SDL_PushEvent(&e);
}

}  // namespace Zarvo

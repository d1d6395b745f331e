#include "platform/SdlPlatform.h"

#include <SDL.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/Paths.h"
#include "platform/SdlDisplay.h"
#include "platform/SdlWindow.h"
#include "platform/SignalWatcher.h"

namespace Zarvo {

std::unique_ptr<Platform> Platform::CreateDefault() {
    return std::make_unique<SdlPlatform>();
}

SdlPlatform::SdlPlatform() {
    // Termination signals are turned into a close by our own watcher, which also works before
    // and without SDL's event loop.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SignalWatcher::Install();
}

SdlPlatform::~SdlPlatform() {
    if (videoOpen_) SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
}

uint32_t SdlPlatform::TickCount() {
    timespec now = {};
    if (clock_gettime(CLOCK_MONOTONIC, &now) != 0) return clock_.Now();
    return static_cast<uint32_t>(static_cast<uint64_t>(now.tv_sec) * 1000u +
                                 static_cast<uint64_t>(now.tv_nsec) / 1000000u);
}

bool SdlPlatform::OpenDisplay(std::string& whatIsMissing) {
    if (videoOpen_) return true;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        displayRefused_ = true;
        whatIsMissing = std::string("Cannot open a display: ") + SDL_GetError();
        return false;
    }
    // SDL falls back to its offscreen driver when no display server answers; unless that driver
    // was asked for, that means there is no display.
    const char* driver = SDL_GetCurrentVideoDriver();
    const char* forced = std::getenv("SDL_VIDEODRIVER");
    if (driver && std::strcmp(driver, "offscreen") == 0 &&
        !(forced && std::strcmp(forced, "offscreen") == 0)) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
        displayRefused_ = true;
        whatIsMissing =
            "Cannot open a display: no X11 or Wayland display server could be reached (DISPLAY=";
        whatIsMissing += std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "unset";
        whatIsMissing += ", WAYLAND_DISPLAY=";
        whatIsMissing += std::getenv("WAYLAND_DISPLAY") ? std::getenv("WAYLAND_DISPLAY") : "unset";
        whatIsMissing += ")";
        return false;
    }
    videoOpen_ = true;
    displayRefused_ = false;
    return true;
}

bool SdlPlatform::HasScreen() {
    // A display named in DISPLAY that could not be opened (say, a server still starting) would
    // leave SDL's box waiting for it with nobody to answer.
    if (displayRefused_) return false;
    const char* driver = videoOpen_ ? SDL_GetCurrentVideoDriver() : nullptr;
    if (driver) return std::strcmp(driver, "dummy") != 0 && std::strcmp(driver, "offscreen") != 0;
    // Without an open display a box can still appear when a display server is reachable.
    const char* forced = std::getenv("SDL_VIDEODRIVER");
    if (forced && (std::strcmp(forced, "dummy") == 0 || std::strcmp(forced, "offscreen") == 0)) {
        return false;
    }
    return std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr;
}

std::unique_ptr<PlatformWindow> SdlPlatform::CreateWindow() {
    return std::make_unique<SdlWindow>();
}

std::unique_ptr<DisplayBackend> SdlPlatform::CreateDisplay() {
    return std::make_unique<SdlDisplay>();
}

SettingsStore& SdlPlatform::Settings(const std::string& key) {
    auto& store = stores_[key];
    if (!store) store = std::make_unique<IniSettingsStore>(Paths::SettingsFileFor(key));
    return *store;
}

std::unique_ptr<SingleInstanceGuard> SdlPlatform::CreateInstanceGuard(const std::string& product) {
    return std::make_unique<SingleInstanceGuard>(Paths::RuntimeDir(), product);
}

void SdlPlatform::ShowMessageBox(const std::string& title, const std::string& text) {
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
    std::fflush(stderr);
    if (HasScreen())
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), text.c_str(), nullptr);
}

void SdlPlatform::DebugOutput(const std::string& text) {
    std::fputs(text.c_str(), stderr);
    std::fflush(stderr);
}

std::string SdlPlatform::ExecutablePath() {
    return Paths::ExecutablePath();
}

std::string SdlPlatform::ApplicationDataFolder(const std::string& company,
                                               const std::string& product) {
    std::string folder = Paths::SafeJoin(Paths::DataHome(), company, '\\');
    folder = Paths::SafeJoin(folder, product, '\\');
    std::string why;
    if (!Paths::MakeFolders(folder, &why)) {
        std::fprintf(stderr, "Cannot create the data folder %s (%s): the saved tour is not kept\n",
                     folder.c_str(), why.c_str());
    }
    return folder + "/";
}

bool SdlPlatform::ChangeWorkingDirectory(const std::string& path) {
    return !path.empty() && chdir(path.c_str()) == 0;
}

bool SdlPlatform::OpenUrl(const std::string& url) {
    return SDL_OpenURL(url.c_str()) == 0;
}

void SdlPlatform::ExitProcess(int code) {
    std::fflush(nullptr);
    std::_Exit(code);
}

}  // namespace Zarvo

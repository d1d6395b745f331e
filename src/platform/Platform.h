#pragma once
#include <memory>
#include <string>

#include "platform/Clock.h"
#include "platform/DisplayBackend.h"
#include "platform/PlatformWindow.h"
#include "platform/SettingsStore.h"
#include "platform/SingleInstanceGuard.h"

namespace Zarvo {

// Everything the application frame needs from the operating system, behind one interface:
// SdlPlatform for real runs, HeadlessPlatform (fake clock, headless window and display,
// in-memory settings) for tests.
class Platform {
public:
    virtual ~Platform() = default;

    virtual Clock& GetClock() = 0;
    // The system's tick count in ms, which seeds the random generator at start-up: unlike the
    // clock, which counts from the start of the process, it differs from run to run. By default
    // the clock's time.
    virtual uint32_t TickCount() { return GetClock().Now(); }
    // Connects to the display system. False, with a text naming what is missing, when there is
    // no display to show a window on.
    virtual bool OpenDisplay(std::string& whatIsMissing) = 0;
    // Whether message boxes can be shown on a screen (otherwise they go to standard error).
    virtual bool HasScreen() = 0;
    virtual std::unique_ptr<PlatformWindow> CreateWindow() = 0;
    virtual std::unique_ptr<DisplayBackend> CreateDisplay() = 0;
    // The settings store of a key (never null; owned by the platform).
    virtual SettingsStore& Settings(const std::string& key) = 0;
    virtual std::unique_ptr<SingleInstanceGuard> CreateInstanceGuard(
        const std::string& product) = 0;

    // A message box with an OK button; its title and text also go to standard error.
    virtual void ShowMessageBox(const std::string& title, const std::string& text) = 0;
    // Diagnostic text (standard error).
    virtual void DebugOutput(const std::string& text) = 0;
    virtual std::string ExecutablePath() = 0;
    // The per-user data folder for a company and product, with a trailing '/', created when
    // missing. A folder that cannot be made is still answered (what is written there then
    // fails, and is reported by the writer) after one line on standard error says why: an
    // empty answer would turn every file name below it into one in the working directory,
    // which for an installed program is its data folder.
    virtual std::string ApplicationDataFolder(const std::string& company,
                                              const std::string& product) = 0;
    virtual bool ChangeWorkingDirectory(const std::string& path) = 0;
    virtual bool OpenUrl(const std::string& url) = 0;
    // Ends the process at once with `code`; no destructors run.
    [[noreturn]] virtual void ExitProcess(int code) = 0;

    // The platform of real runs: SDL2 for window, display and events.
    static std::unique_ptr<Platform> CreateDefault();
};

}  // namespace Zarvo

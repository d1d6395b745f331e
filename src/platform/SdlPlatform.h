#pragma once
#include <map>

#include "platform/IniSettingsStore.h"
#include "platform/Platform.h"
#include "platform/RealClock.h"

namespace Zarvo {

// The platform of real runs: SDL2 video and events, the machine's clock, settings files under
// the XDG config folder, the single-copy guard in the XDG runtime folder. Message boxes are
// SDL's, or standard error alone when there is no screen (no display, a display that could not
// be opened, or SDL's dummy driver).
class SdlPlatform : public Platform {
public:
    SdlPlatform();
    ~SdlPlatform() override;

    Clock& GetClock() override { return clock_; }
    // Milliseconds of the system's monotonic clock (counting from boot).
    uint32_t TickCount() override;
    bool OpenDisplay(std::string& whatIsMissing) override;
    bool HasScreen() override;
    std::unique_ptr<PlatformWindow> CreateWindow() override;
    std::unique_ptr<DisplayBackend> CreateDisplay() override;
    SettingsStore& Settings(const std::string& key) override;
    std::unique_ptr<SingleInstanceGuard> CreateInstanceGuard(const std::string& product) override;
    void ShowMessageBox(const std::string& title, const std::string& text) override;
    void DebugOutput(const std::string& text) override;
    std::string ExecutablePath() override;
    std::string ApplicationDataFolder(const std::string& company,
                                      const std::string& product) override;
    bool ChangeWorkingDirectory(const std::string& path) override;
    bool OpenUrl(const std::string& url) override;
    [[noreturn]] void ExitProcess(int code) override;

private:
    RealClock clock_;
    bool videoOpen_ = false;
    // Opening the display failed: a message box would wait for a display that never answers.
    bool displayRefused_ = false;
    std::map<std::string, std::unique_ptr<IniSettingsStore>> stores_;
};

}  // namespace Zarvo

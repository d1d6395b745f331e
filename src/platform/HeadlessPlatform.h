#pragma once
#include <mutex>
#include <string>
#include <vector>

#include "platform/FakeClock.h"
#include "platform/HeadlessDisplay.h"
#include "platform/HeadlessWindow.h"
#include "platform/MemorySettingsStore.h"
#include "platform/Platform.h"

namespace Zarvo {

// A platform for tests: a fake clock, a headless window and display, one in-memory settings
// store for every key, message boxes and diagnostics recorded (and echoed to standard error),
// no working-directory changes. The windows and displays it hands out stay reachable through
// `window` and `display` (they are owned by the application).
class HeadlessPlatform : public Platform {
public:
    Clock& GetClock() override { return clock; }
    uint32_t TickCount() override { return clock.Now() + ticksBeforeRun; }
    bool OpenDisplay(std::string& whatIsMissing) override;
    bool HasScreen() override { return false; }
    std::unique_ptr<PlatformWindow> CreateWindow() override;
    std::unique_ptr<DisplayBackend> CreateDisplay() override;
    SettingsStore& Settings(const std::string&) override { return settings; }
    std::unique_ptr<SingleInstanceGuard> CreateInstanceGuard(const std::string& product) override;
    void ShowMessageBox(const std::string& title, const std::string& text) override;
    void DebugOutput(const std::string& text) override;
    std::string ExecutablePath() override { return "/opt/zarvo/bin/zarvoapp"; }
    std::string ApplicationDataFolder(const std::string& company,
                                      const std::string& product) override;
    bool ChangeWorkingDirectory(const std::string& path) override;
    bool OpenUrl(const std::string& url) override;
    [[noreturn]] void ExitProcess(int code) override;

    FakeClock clock;
    MemorySettingsStore settings;
    HeadlessWindow* window = nullptr;    // the last window created
    HeadlessDisplay* display = nullptr;  // the last display created
    // Settings for what the next window and display will be like.
    PlatformRect workArea{0, 0, 1280, 1024};
    std::deque<int> displayResults;  // see HeadlessDisplay::forcedResults
    bool displayAvailable = true;
    std::string guardFolder;      // empty: the single-copy guard is inert
    bool echo = false;            // also write diagnostics to standard error
    uint32_t ticksBeforeRun = 0;  // what the system's tick count held when the clock started

    // What was shown and written. The loading thread writes here too, while the loop does; read
    // them once the application's threads are done.
    std::vector<std::string> messageBoxes;  // "title: text"
    std::string debugText;
    std::vector<std::string> directoryChanges;
    std::vector<std::string> openedUrls;

private:
    std::mutex recordMutex_;  // guards the writes to messageBoxes and debugText
};

}  // namespace Zarvo

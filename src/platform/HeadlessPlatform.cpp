#include "platform/HeadlessPlatform.h"

#include <cstdio>
#include <cstdlib>

namespace Zarvo {

bool HeadlessPlatform::OpenDisplay(std::string& whatIsMissing) {
    if (!displayAvailable) whatIsMissing = "Cannot open a display: none configured";
    return displayAvailable;
}

std::unique_ptr<PlatformWindow> HeadlessPlatform::CreateWindow() {
    auto w = std::make_unique<HeadlessWindow>();
    w->workArea = workArea;
    window = w.get();
    return w;
}

std::unique_ptr<DisplayBackend> HeadlessPlatform::CreateDisplay() {
    auto d = std::make_unique<HeadlessDisplay>();
    d->resultSource = &displayResults;
    display = d.get();
    return d;
}

std::unique_ptr<SingleInstanceGuard> HeadlessPlatform::CreateInstanceGuard(
    const std::string& product) {
    return std::make_unique<SingleInstanceGuard>(guardFolder, product);
}

void HeadlessPlatform::ShowMessageBox(const std::string& title, const std::string& text) {
    std::lock_guard<std::mutex> lock(recordMutex_);
    messageBoxes.push_back(title + ": " + text);
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
    std::fflush(stderr);
}

void HeadlessPlatform::DebugOutput(const std::string& text) {
    std::lock_guard<std::mutex> lock(recordMutex_);
    debugText += text;
    if (echo) std::fputs(text.c_str(), stderr);
}

std::string HeadlessPlatform::ApplicationDataFolder(const std::string& company,
                                                    const std::string& product) {
    return "/appdata/" + company + "/" + product + "/";
}

bool HeadlessPlatform::ChangeWorkingDirectory(const std::string& path) {
    directoryChanges.push_back(path);
    return true;
}

bool HeadlessPlatform::OpenUrl(const std::string& url) {
    openedUrls.push_back(url);
    return true;
}

void HeadlessPlatform::ExitProcess(int code) {
    std::fflush(nullptr);
    std::_Exit(code);
}

}  // namespace Zarvo

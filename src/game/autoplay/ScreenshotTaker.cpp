#include "game/autoplay/ScreenshotTaker.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "game/GameApp.h"
#include "game/grid/PieceGrid.h"
#include "game/screens/GUISystem.h"
#include "game/screens/MainScreen.h"
#include "game/screens/Screen.h"
#include "game/screens/ScreenIds.h"
#include "graphics/ScreenImage.h"
#include "resources/PngWriter.h"

namespace Kelvane {

namespace {

struct NamedDialog {
    int id;
    const char* name;
};
constexpr NamedDialog kDialogs[] = {
    {200, "RulesDialog"},     {203, "MenuDialog"},
    {204, "QuitDialog"},      {205, "OptionsDialog"},
    {206, "PostMatchDialog"}, {207, "PreMatchDialog"},
    {208, "ShopDialog"},      {209, "WorldTourCompletedDialog"},
    {210, "CreditsDialog"},   {211, "SaveGameDialog"},
};

}  // namespace

ScreenshotTaker::ScreenshotTaker(GameApp& application, std::string pictures)
    : app(application), folder(std::move(pictures)) {
    if (!folder.empty() && folder.back() != '/') folder += '/';
    std::error_code error;
    std::filesystem::create_directories(folder, error);
}

const char* ScreenshotTaker::dialogName(int dialogId) {
    for (const NamedDialog& d : kDialogs)
        if (d.id == dialogId) return d.name;
    return nullptr;
}

std::string ScreenshotTaker::picturesFolder() {
    const char* pictures = std::getenv("XDG_PICTURES_DIR");
    if (pictures != nullptr && *pictures != '\0') return pictures;
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr && *home != '\0' ? home : ".") + "/Pictures";
}

bool ScreenshotTaker::stillArriving() const {
    Screen* screen = app.gui() ? app.gui()->currentScreen() : nullptr;
    // The match is shown once its pieces have dropped onto the board.
    if (auto* match = dynamic_cast<MainScreen*>(screen))
        return match->grid && match->grid->isIntroDropPending();
    const ScreenObject* background = screen ? screen->findObject(OBJECT_BACKGROUND) : nullptr;
    return background != nullptr && background->fading && background->fader &&
           background->fader->fadingIn;
}

void ScreenshotTaker::update() {
    if (app.gui() == nullptr) return;
    std::string next;
    const int screen = app.currentScreenId();
    if (screen != lastScreen) {
        lastScreen = screen;
        if (const char* name = GUISystem::screenName(screen)) next = name;
    }
    std::set<int> open;
    for (const NamedDialog& d : kDialogs) {
        if (app.FindDialog(d.id) == nullptr) continue;
        open.insert(d.id);
        if (!openDialogs.count(d.id)) next = d.name;
    }
    openDialogs = open;

    if (!next.empty()) {
        // Something new came before the last picture was taken: that one is taken as it is now.
        if (!pendingName.empty()) takePending();
        pendingName = next;
        settle = kSettleUpdates;
    }
    if (pendingName.empty()) return;
    if (settle > 0) --settle;
    if (settle == 0 && !stillArriving()) takePending();
}

void ScreenshotTaker::takePending() {
    char name[96];
    std::snprintf(name, sizeof name, "%03d-%s.png", count + 1, pendingName.c_str());
    pendingName.clear();
    if (capture(folder + name)) {
        ++count;
    } else {
        app.GetPlatform().DebugOutput(std::string("Could not write the screenshot ") + folder +
                                      name + "\n");
    }
}

bool ScreenshotTaker::capture(const std::string& path) {
    app.DrawIfDirty();
    Zarvo::ScreenImage* image = app.GetScreenImage();
    if (image == nullptr) return false;
    return Zarvo::PngWriter::WriteRgb(path, image->GetBits(), image->GetWidth(), image->GetHeight(),
                                      image->GetPitch());
}

}  // namespace Kelvane

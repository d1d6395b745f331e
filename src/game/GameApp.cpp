#include "game/GameApp.h"
#include "game/tour/PlayState.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "diagnostics/AllocationTracker.h"
#include "game/Board.h"
#include "game/FullScreenChoice.h"
#include "game/ResourceIds.h"
#include "game/audio/GameSounds.h"
#include "game/autoplay/AutoPlayer.h"
#include "game/autoplay/ScreenshotTaker.h"
#include "game/input/KeyboardControl.h"
#include "game/save/SaveGame.h"
#include "game/screens/GUISystem.h"
#include "game/screens/MainScreen.h"
#include "game/screens/ScreenIds.h"
#include "graphics/Color.h"
#include "platform/WindowMessage.h"
#include "resources/ResourceManager.h"
#include "widgets/Checkbox.h"
#include "widgets/Dialog.h"
#include "widgets/WidgetManager.h"

namespace Kelvane {

namespace {
constexpr const char* kManifest = "properties\\resources.xml";
constexpr const char* kInitGroup = "Init";
constexpr const char* kGameGroup = "Game";
// Updates the bounded run keeps going on its last screen, so that screen is drawn.
constexpr int kUpdatesOnQuitScreen = 50;
}  // namespace

GameApp::GameApp(std::unique_ptr<Zarvo::Platform> platform)
    : ZarvoAppBase(std::move(platform)),
      sounds_(std::make_unique<GameSounds>(*this)),
      keyboard_(std::make_unique<KeyboardControl>(*this)) {
    productName = "Kelvane";
    productVersion = "1.0";
    title = productName + " - " + productVersion;
    registryKey = "Orlend\\Kelvane\\" + productName + productVersion;
    width = 640;
    height = 480;
    refreshPacedUpdates = true;
    if (const char* screen = std::getenv("KELVANE_RUN_UNTIL_SCREEN")) {
        quitAtScreen = std::atoi(screen);
    }
}

GameApp::~GameApp() {
    if (boardWidget) {
        GetWidgetManager()->keyDownFilter = nullptr;
        GetWidgetManager()->RemoveChild(boardWidget.get());
        boardWidget.reset();
    }
    // No id may keep pointing into the groups once they are freed.
    clearResourceIds();
    GetResourceManager()->DeleteResources(kInitGroup);
    GetResourceManager()->DeleteResources(kGameGroup);
    PlayState::release();
}

GUISystem* GameApp::gui() const {
    return boardWidget ? &boardWidget->gui() : nullptr;
}

void GameApp::sendScreenEvent(int32_t id, void* param) {
    if (GUISystem* switcher = gui()) switcher->sendEvent(id, param);
}

Zarvo::Dialog* GameApp::topDialog() {
    const auto& children = GetWidgetManager()->children;
    for (auto it = children.rbegin(); it != children.rend(); ++it)
        if (auto* dialog = dynamic_cast<Zarvo::Dialog*>(*it)) return dialog;
    return nullptr;
}

int32_t GameApp::currentScreenId() const {
    GUISystem* switcher = gui();
    return switcher ? switcher->currentScreenId() : 0;
}

SaveGame& GameApp::saveGame() {
    if (!save)
        save = std::make_unique<SaveGame>(appDataFolder,
                                          [this](const std::string& text) { Popup(text); });
    return *save;
}

void GameApp::showResourceError(bool quit) {
    Popup(GetResourceManager()->GetErrorText());
    if (quit) Quit();
}

void GameApp::Init() {
    ZarvoAppBase::Init();
    if (IsShutDown()) return;
    Zarvo::ResourceManager* resources = GetResourceManager();
    if (!resources->ParseResourcesFile(kManifest)) {
        initFailed = true;
        showResourceError(true);
        return;
    }
    if (!resources->LoadResources(kInitGroup) || !extractInitResources(*resources)) {
        initFailed = true;
        loadFailed = true;
        showResourceError(true);
        return;
    }
    numLoadingThreadTasks = resources->GetNumResources(kGameGroup);
}

void GameApp::LoadResourcesInBackground() {
    if (initFailed) return;
    Zarvo::ResourceManager* resources = GetResourceManager();
    resources->StartLoadResources(kGameGroup);
    while (resources->LoadNextResource()) {
        ++completedLoadingThreadTasks;
        if (IsShutDown()) return;
    }
    if (resources->HadError() || !extractGameResources(*resources)) loadFailed = true;
}

void GameApp::LoadingCompleted() {
    ZarvoAppBase::LoadingCompleted();
    if (initFailed || IsShutDown()) return;
    if (loadFailed) {
        // Shown here rather than on the loading thread: a message box belongs to the thread
        // that runs the window. The application keeps running without a board.
        showResourceError(false);
        return;
    }
    createBoard();
}

void GameApp::createBoard() {
    boardWidget.reset(KNEW Board(*this));
    boardWidget->SetBounds(0, 0, width, height);
    GetWidgetManager()->AddChild(boardWidget.get());
    // Keys drive the game whatever widget has the focus, dialogs included.
    Zarvo::WidgetManager* widgets = GetWidgetManager();
    widgets->keyDownFilter = [this, widgets](int key) {
        return keyboard_->keyDown(key, widgets->IsKeyDown(Zarvo::VKey::kShift));
    };
    sounds_->loadMusic();
    if (autoplayRequested) {
        autoPlayer_.reset(KNEW AutoPlayer(*this, static_cast<AutoPlayer::Mode>(autoplayMode),
                                          autoplayMatches, [](const std::string& line) {
                                              std::printf("%s\n", line.c_str());
                                              std::fflush(stdout);
                                          }));
    }
    if (!screenshotFolder.empty())
        screenshots_.reset(KNEW ScreenshotTaker(*this, screenshotFolder));
}

void GameApp::ApplyCommandLineOption(const std::string& name, const std::string& value) {
    if (name == "-autoplay") {
        AutoPlayer::Mode mode;
        if (AutoPlayer::parseOption(value, mode, autoplayMatches)) {
            autoplayRequested = true;
            autoplayMode = static_cast<int>(mode);
            return;
        }
    } else if (name == "-screenshots" && !value.empty()) {
        // Taken as given at start, before the working directory changes to the data.
        std::error_code error;
        const std::filesystem::path folder = std::filesystem::absolute(value, error);
        screenshotFolder = error ? value : folder.string();
        return;
    } else {
        ZarvoAppBase::ApplyCommandLineOption(name, value);
        return;
    }
    // A game option with a value it cannot take is as wrong as an unknown option.
    ZarvoAppBase::ApplyCommandLineOption(name + "=" + value, "");
}

bool GameApp::DrawIfDirty() {
    if (boardWidget && boardWidget->manager != nullptr) boardWidget->invalidateIfChanged();
    return ZarvoAppBase::DrawIfDirty();
}

void GameApp::Present() {
    ZarvoAppBase::Present();
    if (firstFramePresented) return;
    firstFramePresented = true;
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - constructed)
                        .count();
    GetPlatform().DebugOutput("First frame presented after " + std::to_string(ms) + " ms\n");
}

void GameApp::LostFocusHook() {
    ZarvoAppBase::LostFocusHook();
    GUISystem* switcher = gui();
    if (switcher == nullptr || switcher->currentScreenId() != SCREEN_MAIN) return;
    auto* match = static_cast<MainScreen*>(switcher->currentScreen());
    // Paused as by the pause button, so only the player's choice resumes it.
    if (match->playing && !match->pausedByButton) switcher->sendEvent(EVENT_PAUSE, nullptr);
}

bool GameApp::AsyncDebugKey(int key) {
    constexpr int kScreenshotKey = 123;  // F12
    if (key != kScreenshotKey || !boardWidget) return false;
    const std::string folder = ScreenshotTaker::picturesFolder();
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    char name[64];
    std::snprintf(name, sizeof name, "/kelvane-%lld-%d.png",
                  static_cast<long long>(std::time(nullptr)), totalUpdates);
    ScreenshotTaker taker(*this, folder);
    const std::string path = folder + name;
    GetPlatform().DebugOutput((taker.capture(path) ? "Saved the screenshot " : "Could not save ") +
                              path + "\n");
    return true;
}

Zarvo::Dialog* GameApp::MakeDialog(int dialogId, bool isModal, const std::string& header,
                                   const std::string& lines, const std::string& footer,
                                   int buttonMode) {
    auto* dialog = KNEW Zarvo::Dialog(IMAGE_BASIC_DIALOG_BACKGROUND, IMAGE_DIALOG_BUTTON_BACKGROUND,
                                      dialogId, isModal, header, lines, footer, buttonMode);
    if (FONT_DEFAULT) {
        dialog->SetHeaderFont(FONT_DEFAULT);
        dialog->SetLinesFont(FONT_DEFAULT);
        dialog->SetButtonFont(FONT_DEFAULT);
    }
    const Zarvo::Color black(0, 0, 0, 255);
    for (int slot : {0, 1, 3, 4, 2}) dialog->SetPaletteEntry(slot, black);
    dialog->spaceAfterHeader = 30;
    dialog->SetBounds(100, 100, 300, 250);
    return dialog;
}

void GameApp::ButtonDepress(int buttonId) {
    constexpr int kFirstButtonBase = 2000;
    constexpr int kSecondButtonBase = 3000;
    constexpr int kBaseEnd = 4000;
    if (buttonId >= kFirstButtonBase && buttonId < kSecondButtonBase)
        RemoveDialog(buttonId - kFirstButtonBase);
    else if (buttonId >= kSecondButtonBase && buttonId < kBaseEnd)
        RemoveDialog(buttonId - kSecondButtonBase);
}

void GameApp::ApplyScreenModeChoice(bool windowedChoice, bool is3DChoice) {
    ChangeScreenMode(windowedChoice, is3DChoice, false);
    if (auto* choice = dynamic_cast<FullScreenChoice*>(FindDialog(kOptionsDialogId))) {
        if (Zarvo::Checkbox* checkbox = choice->fullScreenCheckbox())
            checkbox->SetChecked(!windowedChoice, true);
    }
}

void GameApp::UpdateOnce() {
    ZarvoAppBase::UpdateOnce();
    watchScreens();
    if (autoPlayer_) autoPlayer_->update();
    if (screenshots_) screenshots_->update();
}

void GameApp::watchScreens() {
    GUISystem* switcher = gui();
    if (!switcher) return;
    const int screen = switcher->currentScreenId();
    if (screen != lastScreen) {
        lastScreen = screen;
        sounds_->musicForScreen(screen);
        char text[64];
        std::snprintf(text, sizeof text, "Screen %d after %d updates\n", screen, totalUpdates);
        GetPlatform().DebugOutput(text);
    }
    if (quitAtScreen >= 0 && screen == quitAtScreen && !IsShutDown() &&
        ++updatesOnQuitScreen >= kUpdatesOnQuitScreen) {
        GetPlatform().DebugOutput("Reached the requested screen: quitting\n");
        Quit();
    }
}

}  // namespace Kelvane

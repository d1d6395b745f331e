#include "game/GameApp.h"
#include "game/tour/PlayState.h"

#include <cstdio>
#include <cstdlib>

#include "diagnostics/AllocationTracker.h"
#include "game/Board.h"
#include "game/FullScreenChoice.h"
#include "game/ResourceIds.h"
#include "game/save/SaveGame.h"
#include "game/screens/GUISystem.h"
#include "graphics/Color.h"
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

GameApp::GameApp(std::unique_ptr<Zarvo::Platform> platform) : ZarvoAppBase(std::move(platform)) {
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
}

void GameApp::watchScreens() {
    GUISystem* switcher = gui();
    if (!switcher) return;
    const int screen = switcher->currentScreenId();
    if (screen != lastScreen) {
        lastScreen = screen;
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

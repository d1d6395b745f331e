#include "ShowcaseApp.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "ShowcaseWidget.h"
#include "graphics/Color.h"
#include "graphics/Font.h"
#include "resources/ResourceManager.h"
#include "widgets/Dialog.h"
#include "widgets/WidgetManager.h"

using namespace Zarvo;

ShowcaseApp::ShowcaseApp() {
    title = "Zarvo Showcase";
    productName = "ZarvoShowcase";
    companyName = "Zarvo";
    registryKey = "Zarvo\\Showcase";
    // Several showcases may run side by side (a person and the end-to-end test).
    onlyAllowOneCopy = false;
    // The data lies next to the program, wherever it is started from.
    changeDirTarget = std::filesystem::path(GetPlatform().ExecutablePath()).parent_path().string();
    if (const char* updates = std::getenv("ZARVO_SHOWCASE_UPDATES")) {
        updatesLeft_ = std::atoi(updates);
        if (updatesLeft_ < 0) updatesLeft_ = 0;
    }
}

ShowcaseApp::~ShowcaseApp() {
    // The screen leaves the tree while the widget manager still exists.
    if (screen_ != nullptr) {
        GetWidgetManager()->RemoveChild(screen_);
        delete screen_;
        screen_ = nullptr;
    }
}

void ShowcaseApp::Fail(const std::string& what) {
    std::cout << "showcase failed: " << what << std::endl;
    exitCode_ = 1;
    Quit();
}

void ShowcaseApp::InitHook() {
    ResourceManager* resources = GetResourceManager();
    if (!resources->ParseResourcesFile("properties\\resources.xml")) {
        Fail("manifest: " + resources->GetErrorText());
        return;
    }
    // The fonts come first: everything on screen needs them.
    if (!resources->LoadResources("Init")) {
        Fail("group Init: " + resources->GetErrorText());
        return;
    }
    std::cout << "group Init loaded: " << resources->GetNumFonts("Init") << " fonts" << std::endl;
}

void ShowcaseApp::LoadResourcesInBackground() {
    if (exitCode_ != 0) return;
    ResourceManager* resources = GetResourceManager();
    numLoadingThreadTasks = resources->GetNumResources("Game");
    resources->StartLoadResources("Game");
    while (resources->LoadNextResource()) ++completedLoadingThreadTasks;
    if (resources->HadError()) loadError_ = resources->GetErrorText();
}

void ShowcaseApp::LoadingCompleted() {
    if (exitCode_ != 0) return;
    ResourceManager* resources = GetResourceManager();
    if (!loadError_.empty()) {
        Fail("group Game: " + loadError_);
        return;
    }
    std::cout << "all resources loaded: "
              << resources->GetNumImages("Init") + resources->GetNumImages("Game") << " images, "
              << resources->GetNumFonts("Init") + resources->GetNumFonts("Game") << " fonts, "
              << resources->GetNumSounds("Init") + resources->GetNumSounds("Game") << " sounds"
              << std::endl;
    try {
        screen_ = new ShowcaseWidget(this, *resources);
    } catch (const std::exception& e) {
        Fail(std::string("screen: ") + e.what());
        return;
    }
    screen_->SetBounds(0, 0, width, height);
    GetWidgetManager()->AddChild(screen_);
}

void ShowcaseApp::UpdateOnce() {
    ZarvoAppBase::UpdateOnce();
    if (screen_ == nullptr || updatesLeft_ < 0) return;
    if (updatesLeft_ == 0) {
        std::cout << "showcase done after " << totalUpdates << " updates" << std::endl;
        updatesLeft_ = -1;
        Quit();
        return;
    }
    --updatesLeft_;
}

void ShowcaseApp::ButtonDepress(int id) {
    if (id != kShowDialogButtonId) {
        ZarvoAppBase::ButtonDepress(id);
        return;
    }
    std::cout << "dialog opened" << std::endl;
    Dialog* dialog = ShowDialog(kDialogId, true, "Zarvo Showcase",
                                "A modal dialog: the screen below does not answer until it is "
                                "closed. Drag it by its top edge.",
                                "", Dialog::BUTTONS_YES_NO);
    // The loop runs on inside the dialog until one of its buttons answers.
    const int result = dialog->WaitForResult(true);
    std::cout << "dialog result " << result << std::endl;
}

Dialog* ShowcaseApp::MakeDialog(int dialogId, bool isModal, const std::string& header,
                                const std::string& lines, const std::string& footer,
                                int buttonMode) {
    ResourceManager* resources = GetResourceManager();
    auto* dialog = new Dialog(resources->GetImage("IMAGE_BASIC_DIALOG_BACKGROUND"),
                              resources->GetImage("IMAGE_DIALOG_BUTTON_BACKGROUND"), dialogId,
                              isModal, header, lines, footer, buttonMode);
    if (Font* f = resources->GetFont("FONT_ROCKWELLEXTRABOLD16")) dialog->SetHeaderFont(f);
    if (Font* f = resources->GetFont("FONT_ROCKWELLEXTRABOLD11")) dialog->SetLinesFont(f);
    if (Font* f = resources->GetFont("FONT_ROCKWELLEXTRABOLD12")) dialog->SetButtonFont(f);
    // Dark text on the light paper of the dialog picture.
    dialog->SetPaletteEntry(Dialog::COLOR_HEADER, Color(20, 40, 90));
    dialog->SetPaletteEntry(Dialog::COLOR_LINES, Color(60, 40, 20));
    return dialog;
}

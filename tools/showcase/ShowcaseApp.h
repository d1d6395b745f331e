#pragma once

#include <memory>
#include <string>

#include "frame/ZarvoAppBase.h"

class ShowcaseWidget;

// The showcase application: loads the manifest's "Init" group while starting up and its "Game"
// group on the loading thread, then puts up the showcase screen. Its button opens a modal dialog
// whose answer goes to standard output.
//
// With ZARVO_SHOWCASE_UPDATES=N in the environment it quits by itself N updates after the
// screen is up (for runs without anyone at the controls).
class ShowcaseApp : public Zarvo::ZarvoAppBase {
public:
    static constexpr int kDialogId = 1;
    static constexpr int kShowDialogButtonId = 1;

    ShowcaseApp();
    ~ShowcaseApp() override;

    void InitHook() override;
    void LoadResourcesInBackground() override;
    void LoadingCompleted() override;
    void UpdateOnce() override;
    void ButtonDepress(int id) override;
    Zarvo::Dialog* MakeDialog(int dialogId, bool isModal, const std::string& header,
                              const std::string& lines, const std::string& footer,
                              int buttonMode) override;

    // 0 after a clean run, 1 when the data could not be loaded.
    int ExitCode() const { return exitCode_; }

private:
    void Fail(const std::string& what);

    ShowcaseWidget* screen_ = nullptr;  // owned by the widget manager's tree while shown
    int updatesLeft_ = -1;              // quits when it reaches 0; negative: never
    int exitCode_ = 0;
    std::string loadError_;
};

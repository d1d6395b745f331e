#pragma once

#include <string>
#include <type_traits>

#include "widgets/ButtonListener.h"
#include "widgets/Dialog.h"
#include "widgets/DialogTable.h"

namespace Zarvo {

// The dialog table of an application object: the table's services and hooks go to whatever of
// them the application has: its main loop step (LoopStep), its deferred deletion
// (DeleteWidgetLater), its dialog factory (MakeDialog), its modal hooks (ModalOpen,
// ModalClose), its dialog button hooks, and its button operations when it is a ButtonListener.
template <class App>
class AppDialogTable : public DialogTable {
public:
    AppDialogTable(App* application, WidgetManager* widgetManager, int appWidth, int appHeight)
        : DialogTable(widgetManager, appWidth, appHeight), app(application) {
        if constexpr (std::is_convertible_v<App*, ButtonListener*>) buttonListener = app;
    }

    Dialog* MakeDialog(int dialogId, bool isModal, const std::string& header,
                       const std::string& lines, const std::string& footer,
                       int buttonMode) override {
        if constexpr (requires {
                          app->MakeDialog(dialogId, isModal, header, lines, footer, buttonMode);
                      }) {
            return app->MakeDialog(dialogId, isModal, header, lines, footer, buttonMode);
        } else {
            return DialogTable::MakeDialog(dialogId, isModal, header, lines, footer, buttonMode);
        }
    }
    void ModalOpen() override {
        if constexpr (requires { app->ModalOpen(); }) app->ModalOpen();
    }
    void ModalClose() override {
        if constexpr (requires { app->ModalClose(); }) app->ModalClose();
    }
    void DialogButtonPressHook(int dialogId, int buttonId) override {
        if constexpr (requires { app->DialogButtonPressHook(dialogId, buttonId); }) {
            app->DialogButtonPressHook(dialogId, buttonId);
        }
    }
    void DialogButtonDepressHook(int dialogId, int buttonId) override {
        if constexpr (requires { app->DialogButtonDepressHook(dialogId, buttonId); }) {
            app->DialogButtonDepressHook(dialogId, buttonId);
        }
    }
    bool LoopStep() override {
        if constexpr (requires { app->LoopStep(); }) {
            return app->LoopStep();
        } else {
            return false;
        }
    }
    void DeleteDialogLater(Dialog* dialog) override {
        if constexpr (requires { app->DeleteWidgetLater(dialog); }) {
            app->DeleteWidgetLater(dialog);
        } else {
            DialogTable::DeleteDialogLater(dialog);
        }
    }

private:
    App* app;
};

}  // namespace Zarvo

#pragma once

#include <string>

#include "widgets/DialogHost.h"
#include "widgets/DialogTable.h"

namespace Zarvo {

class ButtonListener;

// The dialog table of an application object: the table's services and hooks go straight to the
// application's DialogHost operations, and its dialog buttons to the application's button
// operations.
class AppDialogTable : public DialogTable {
public:
    AppDialogTable(DialogHost& host, ButtonListener* buttons, WidgetManager* widgetManager,
                   int appWidth, int appHeight)
        : DialogTable(widgetManager, appWidth, appHeight), host_(host) {
        buttonListener = buttons;
    }

    Dialog* MakeDialog(int dialogId, bool isModal, const std::string& header,
                       const std::string& lines, const std::string& footer,
                       int buttonMode) override {
        return host_.MakeDialog(dialogId, isModal, header, lines, footer, buttonMode);
    }
    void ModalOpen() override { host_.ModalOpen(); }
    void ModalClose() override { host_.ModalClose(); }
    void DialogButtonPressHook(int dialogId, int buttonId) override {
        host_.DialogButtonPressHook(dialogId, buttonId);
    }
    void DialogButtonDepressHook(int dialogId, int buttonId) override {
        host_.DialogButtonDepressHook(dialogId, buttonId);
    }
    bool LoopStep() override { return host_.RunModalLoopStep(); }
    void DeleteDialogLater(Dialog* dialog) override { host_.DeleteDialogLater(dialog); }

private:
    DialogHost& host_;
};

}  // namespace Zarvo

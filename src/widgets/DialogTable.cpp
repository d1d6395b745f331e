#include "widgets/DialogTable.h"

#include <algorithm>

#include "widgets/ButtonListener.h"
#include "widgets/Dialog.h"
#include "widgets/WidgetManager.h"

namespace Zarvo {

DialogTable::DialogTable(WidgetManager* widgetManager, int appWidth, int appHeight)
    : manager(widgetManager), width(appWidth), height(appHeight) {}

DialogTable::~DialogTable() {
    while (!dialogList.empty()) RemoveDialog(dialogList.back()->id, true, true);
    FlushDeletes();
}

Dialog* DialogTable::MakeDialog(int dialogId, bool isModal, const std::string& header,
                                const std::string& lines, const std::string& footer,
                                int buttonMode) {
    return new Dialog(nullptr, nullptr, dialogId, isModal, header, lines, footer, buttonMode);
}

Dialog* DialogTable::ShowDialog(int dialogId, bool isModal, const std::string& header,
                                const std::string& lines, const std::string& footer,
                                int buttonMode) {
    RemoveDialog(dialogId);
    Dialog* dialog = MakeDialog(dialogId, isModal, header, lines, footer, buttonMode);
    AddDialog(dialogId, dialog);
    return dialog;
}

void DialogTable::AddDialog(int dialogId, Dialog* dialog) {
    RemoveDialog(dialogId);
    if (dialog->width == 0) {
        const int w = width / 2;
        dialog->SetBounds((width - w) / 2, height / 5, w, dialog->PreferredHeight(w));
    }
    dialogMap[dialogId] = dialog;
    dialogList.push_back(dialog);
    dialog->table = this;
    if (dialog->dialogListener == nullptr) dialog->dialogListener = this;
    if (manager != nullptr) manager->AddChild(dialog);
    if (dialog->IsModal()) {
        if (manager != nullptr) manager->AddModalLayer(dialog, manager->defaultBelowModalFlagsMod);
        ModalOpen();
    }
}

void DialogTable::AddDialog(Dialog* dialog) {
    AddDialog(dialog->id, dialog);
}

Dialog* DialogTable::FindDialog(int dialogId) {
    auto it = dialogMap.find(dialogId);
    return it == dialogMap.end() ? nullptr : it->second;
}

bool DialogTable::RemoveDialog(Dialog* dialog) {
    return RemoveDialog(dialog->id);
}

bool DialogTable::RemoveDialog(int dialogId, bool removeWidget, bool deleteWidget) {
    auto it = dialogMap.find(dialogId);
    if (it == dialogMap.end()) return false;
    Dialog* dialog = it->second;
    if (dialog->result == -1) dialog->result = 0;
    dialogList.erase(std::remove(dialogList.begin(), dialogList.end(), dialog), dialogList.end());
    dialogMap.erase(it);
    if ((removeWidget || deleteWidget) && dialog->parent != nullptr) {
        dialog->parent->RemoveChild(dialog);
    }
    if (dialog->IsModal()) {
        ModalClose();
        if (manager != nullptr) manager->RemoveModalLayer(dialog);
    }
    if (deleteWidget) DeleteDialogLater(dialog);
    return true;
}

void DialogTable::DialogButtonPress(int dialogId, int buttonId) {
    DialogButtonPressHook(dialogId, buttonId);
    if (buttonListener == nullptr) return;
    if (buttonId == 1000) buttonListener->ButtonPress(2000 + dialogId);
    if (buttonId == 1001) buttonListener->ButtonPress(3000 + dialogId);
}

void DialogTable::DialogButtonDepress(int dialogId, int buttonId) {
    DialogButtonDepressHook(dialogId, buttonId);
    if (buttonListener == nullptr) return;
    if (buttonId == 1000) buttonListener->ButtonDepress(2000 + dialogId);
    if (buttonId == 1001) buttonListener->ButtonDepress(3000 + dialogId);
}

void DialogTable::DeleteDialogLater(Dialog* dialog) {
    pendingDeletes.emplace_back(dialog);
}

void DialogTable::FlushDeletes() {
    pendingDeletes.clear();
}

}  // namespace Zarvo

#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "widgets/DialogListener.h"

namespace Zarvo {

class ButtonListener;
class Dialog;
class Widget;
class WidgetManager;

// The application's open dialogs, by dialog id, and the operations that open and close them.
// A modal dialog raises a modal layer in the widget manager while it is open. The table is the
// dialogs' listener: their buttons reach the application's button listener as 2000 + dialog id
// (button 1000) and 3000 + dialog id (button 1001).
class DialogTable : public DialogListener {
public:
    DialogTable(WidgetManager* widgetManager, int appWidth, int appHeight);
    DialogTable(const DialogTable&) = delete;
    DialogTable& operator=(const DialogTable&) = delete;
    // Removes and deletes every open dialog.
    virtual ~DialogTable();

    // Builds a dialog for an id; the base builds a plain Dialog without images.
    virtual Dialog* MakeDialog(int dialogId, bool isModal, const std::string& header,
                               const std::string& lines, const std::string& footer, int buttonMode);
    // Replaces any open dialog of the id by a new one from MakeDialog and returns it.
    virtual Dialog* ShowDialog(int dialogId, bool isModal, const std::string& header,
                               const std::string& lines, const std::string& footer, int buttonMode);
    // Takes ownership. A dialog without a width gets half the application's width, its
    // preferred height, and a place centred at a fifth of the height.
    virtual void AddDialog(int dialogId, Dialog* dialog);
    virtual void AddDialog(Dialog* dialog);
    virtual Dialog* FindDialog(int dialogId);
    // False when no dialog of the id is open. Deleting goes through the deferred deletion.
    virtual bool RemoveDialog(int dialogId, bool removeWidget, bool deleteWidget);
    bool RemoveDialog(int dialogId) { return RemoveDialog(dialogId, true, true); }
    bool RemoveDialog(Dialog* dialog);
    virtual int GetDialogCount() const { return static_cast<int>(dialogList.size()); }

    // Hooks, empty here.
    virtual void ModalOpen() {}
    virtual void ModalClose() {}
    virtual void DialogButtonPressHook(int dialogId, int buttonId) {
        (void)dialogId, (void)buttonId;
    }
    virtual void DialogButtonDepressHook(int dialogId, int buttonId) {
        (void)dialogId, (void)buttonId;
    }

    void DialogButtonPress(int dialogId, int buttonId) override;
    void DialogButtonDepress(int dialogId, int buttonId) override;

    // Runs one step of the application's main loop; false when the loop cannot go on. The base
    // has no loop.
    virtual bool LoopStep() { return false; }
    // Deletes a dialog once nothing can still be running inside it; the base keeps it until
    // FlushDeletes or the table's end.
    virtual void DeleteDialogLater(Dialog* dialog);
    void FlushDeletes();

    WidgetManager* manager;
    ButtonListener* buttonListener = nullptr;  // the application's own button operations
    int width;
    int height;
    std::map<int, Dialog*> dialogMap;
    std::vector<Dialog*> dialogList;  // in opening order

private:
    std::vector<std::unique_ptr<Dialog>> pendingDeletes;
};

}  // namespace Zarvo

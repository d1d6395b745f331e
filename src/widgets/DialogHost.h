#pragma once
#include <string>

namespace Zarvo {

class Dialog;

// What an application's dialog table needs from the application object: its dialog factory,
// its modal and dialog button hooks, a step of its main loop for a dialog that waits for its
// answer, and its deferred deletion.
class DialogHost {
public:
    virtual ~DialogHost() = default;

    virtual Dialog* MakeDialog(int dialogId, bool isModal, const std::string& header,
                               const std::string& lines, const std::string& footer,
                               int buttonMode) = 0;
    virtual void ModalOpen() = 0;
    virtual void ModalClose() = 0;
    virtual void DialogButtonPressHook(int dialogId, int buttonId) = 0;
    virtual void DialogButtonDepressHook(int dialogId, int buttonId) = 0;
    // Runs one step of the main loop; false when the loop cannot go on.
    virtual bool RunModalLoopStep() = 0;
    // Deletes a dialog once nothing can still be running inside it.
    virtual void DeleteDialogLater(Dialog* dialog) = 0;
};

}  // namespace Zarvo

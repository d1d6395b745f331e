#pragma once

namespace Zarvo {

// Receives the button presses and clicks of dialogs, with the dialog's id and the button's id
// (1000 for the first button, 1001 for the second).
class DialogListener {
public:
    virtual ~DialogListener() = default;
    virtual void DialogButtonPress(int dialogId, int buttonId) = 0;
    virtual void DialogButtonDepress(int dialogId, int buttonId) = 0;
};

}  // namespace Zarvo

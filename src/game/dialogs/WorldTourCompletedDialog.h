// The congratulation at the end of a won world tour, with an exit button.
#pragma once

#include "game/dialogs/GameDialog.h"

namespace Kelvane {

class WorldTourCompletedDialog : public GameDialog {
public:
    static constexpr int kDialogId = 209;
    static constexpr int kExitButton = 0;

    explicit WorldTourCompletedDialog(GameApp& app);

    using Dialog::SetBounds;
    void SetBounds(int newX, int newY, int newWidth, int newHeight) override;
    using Dialog::ButtonDepress;
    void ButtonDepress(int buttonId) override;
};

}  // namespace Kelvane

// Two yes/no questions about the saved tour. In save mode (on quitting during a tour): yes saves
// the tour and quits (when the save cannot be written, the player is told and the game goes on),
// no deletes any saved tour and quits. In load mode (on starting a tour): yes resumes the saved
// tour (event 60), no starts a new one (event 59).
#pragma once

#include "game/dialogs/GameDialog.h"

namespace Kelvane {

class SaveGameDialog : public GameDialog {
public:
    static constexpr int kDialogId = 211;
    enum ButtonIds { kYesButton = 0, kNoButton = 1 };

    SaveGameDialog(GameApp& app, bool saveMode);

    using Dialog::SetBounds;
    void SetBounds(int newX, int newY, int newWidth, int newHeight) override;
    using Dialog::ButtonDepress;
    void ButtonDepress(int buttonId) override;

    const bool saveMode;
};

}  // namespace Kelvane

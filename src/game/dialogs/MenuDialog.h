// The in-game menu: options, rules, credits, quit and exit, one under the other. Each of the
// first four opens its dialog in place of the menu (the screen's cover stays up for it); exit
// closes the menu and lets a paused match go on.
#pragma once

#include <string>

#include "game/dialogs/GameDialog.h"

namespace Kelvane {

class MenuDialog : public GameDialog {
public:
    static constexpr int kDialogId = 203;
    enum ButtonIds {
        kOptionsButton = 0,
        kQuitButton = 1,
        kRulesButton = 2,
        kExitButton = 3,
        kCreditsButton = 4
    };

    MenuDialog(GameApp& app, const std::string& header, const std::string& text);

    using Dialog::SetBounds;
    void SetBounds(int newX, int newY, int newWidth, int newHeight) override;
    using Dialog::ButtonDepress;
    void ButtonDepress(int buttonId) override;

private:
    // Leaves the menu and opens `dialog` as `dialogId` at its usual place.
    void replaceBy(GameDialog* dialog, int dialogId, int atX, int atY, int atWidth, int atHeight);
};

}  // namespace Kelvane

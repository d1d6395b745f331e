// The credits: a picture with the names and an exit button.
#pragma once

#include <string>

#include "game/dialogs/GameDialog.h"

namespace Kelvane {

class CreditsDialog : public GameDialog {
public:
    static constexpr int kDialogId = 210;
    static constexpr int kExitButton = 0;

    CreditsDialog(GameApp& app, const std::string& header, const std::string& text);

    using Dialog::SetBounds;
    void SetBounds(int newX, int newY, int newWidth, int newHeight) override;
    void DrawSelf(Zarvo::Graphics* g) override;
    using Dialog::ButtonDepress;
    void ButtonDepress(int buttonId) override;
};

}  // namespace Kelvane

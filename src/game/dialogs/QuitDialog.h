// "Really quit?": yes quits at once on the start screen and in a friendly match; during a world
// tour it asks next whether to save the tour. No closes the question and lets a paused match go
// on.
#pragma once

#include <string>

#include "game/dialogs/GameDialog.h"

namespace Kelvane {

class QuitDialog : public GameDialog {
public:
    static constexpr int kDialogId = 204;
    enum ButtonIds { kYesButton = 0, kNoButton = 1 };

    QuitDialog(GameApp& app, const std::string& header, const std::string& text);

    using Dialog::SetBounds;
    void SetBounds(int newX, int newY, int newWidth, int newHeight) override;
    using Dialog::ButtonDepress;
    void ButtonDepress(int buttonId) override;

    // Yes at the bottom left, no at the bottom right, both 5 pixels in from the edges.
    static void placeYesNo(GameDialog& dialog, Zarvo::Widget* yes, Zarvo::Widget* no);
};

}  // namespace Kelvane

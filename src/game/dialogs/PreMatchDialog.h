// The player's profile, shown from the world tour map: the nation, the total points and the
// power-ups held. It only shows; exit closes it.
#pragma once

#include <string>

#include "game/dialogs/GameDialog.h"

namespace Kelvane {

class PreMatchDialog : public GameDialog {
public:
    static constexpr int kDialogId = 207;
    static constexpr int kExitButton = 0;

    explicit PreMatchDialog(GameApp& app);

    using Dialog::SetBounds;
    void SetBounds(int newX, int newY, int newWidth, int newHeight) override;
    void DrawSelf(Zarvo::Graphics* g) override;
    using Dialog::ButtonDepress;
    void ButtonDepress(int buttonId) override;

    // Made from the profile when the dialog is made.
    std::string teamText;
    std::string pointsText;
    std::string redCardsText;
    std::string yellowCardsText;
    std::string injuriesText;
    std::string offsideFlagsText;
};

}  // namespace Kelvane

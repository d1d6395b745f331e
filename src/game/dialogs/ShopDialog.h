// The shop of the world tour: the four power-ups with their prices and a buy button each. A
// button the points do not stretch to is disabled; each purchase takes its price off the total
// at once.
#pragma once

#include <string>

#include "game/dialogs/GameDialog.h"

namespace Kelvane {

class ShopDialog : public GameDialog {
public:
    static constexpr int kDialogId = 208;
    enum ButtonIds {
        kExitButton = 0,
        kBuyRedCard = 1,
        kBuyYellowCard = 2,
        kBuyInjury = 3,
        kBuyOffsideFlag = 4
    };
    static constexpr int kRedCardPrice = 150;
    static constexpr int kYellowCardPrice = 100;
    static constexpr int kInjuryPrice = 50;
    static constexpr int kOffsideFlagPrice = 200;

    explicit ShopDialog(GameApp& app);

    using Dialog::SetBounds;
    void SetBounds(int newX, int newY, int newWidth, int newHeight) override;
    void OnAttached(Zarvo::WidgetManager* m) override;
    void DrawSelf(Zarvo::Graphics* g) override;
    using Dialog::ButtonDepress;
    void ButtonDepress(int buttonId) override;

    // Enables what the total points can pay for and renews the total text.
    void refresh();

    std::string totalText;
};

}  // namespace Kelvane

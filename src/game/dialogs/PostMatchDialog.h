// The tally after a match: the score, then the match points counted into the total two at a
// time, then what was left in the power-up meters turned into power-up points one unit at a
// time and counted in as well. The next button appears when everything is counted; it stores the
// new total in the profile.
#pragma once

#include <array>
#include <string>

#include "game/dialogs/GameDialog.h"

namespace Kelvane {

class PostMatchDialog : public GameDialog {
public:
    static constexpr int kDialogId = 206;
    static constexpr int kNextButton = 0;
    // Meters in the order they are drained and drawn.
    enum Meter { kYellowCard = 0, kRedCard = 1, kInjury = 2, kOffsideFlag = 3, kMeterCount = 4 };
    static constexpr int kBarHeight = 60;

    explicit PostMatchDialog(GameApp& app);

    using Dialog::SetBounds;
    void SetBounds(int newX, int newY, int newWidth, int newHeight) override;
    void DrawSelf(Zarvo::Graphics* g) override;
    // One step of the tally.
    void UpdateSelf() override;
    using Dialog::ButtonDepress;
    void ButtonDepress(int buttonId) override;

    std::string scoreText;
    std::array<std::string, kMeterCount> countTexts;  // power-ups held, by meter
    int shownTotal;
    int pendingMatch;
    int pendingPowerUp = 0;
    std::array<int, kMeterCount> fills;  // percent left in each meter, by meter
    std::array<int, kMeterCount> barHeights{};
    int matchCounter = 0;
    int fillCounter = 0;
    int transferCounter = 0;
    bool drained = false;
};

}  // namespace Kelvane

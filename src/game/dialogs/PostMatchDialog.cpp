#include "game/dialogs/PostMatchDialog.h"

#include <algorithm>

#include "game/GameApp.h"
#include "game/ResourceIds.h"
#include "game/dialogs/TextFormat.h"
#include "game/save/Profile.h"
#include "game/screens/ScreenIds.h"
#include "game/tour/PlayState.h"
#include "game/tour/Team.h"
#include "graphics/Graphics.h"
#include "graphics/MemoryImage.h"

namespace Kelvane {

namespace {
// Points moved into the total per update.
constexpr int kTallyStep = 2;

int moveStep(int& from, int& to) {
    const int moved = std::min(kTallyStep, from);
    from -= moved;
    to += moved;
    return moved;
}
}  // namespace

PostMatchDialog::PostMatchDialog(GameApp& gameApp)
    : GameDialog(gameApp, IMAGE_POST_MATCH_DIALOG_BACKGROUND, kDialogId, " ", " ", " ",
                 Zarvo::Insets{15, 15, 15, 15}) {
    addButton(IMAGE_NEXT_BUTTON, kNextButton)->Show(false);
    PlayState& play = PlayState::instance();
    const Profile& profile = play.profile;
    if (const Match* match = play.gamePlay.currentMatch()) {
        char text[256];
        std::snprintf(text, sizeof text, "%s (%d - %d) %s",
                      match->teamA != nullptr ? match->teamA->name.c_str() : "", match->scoreA,
                      match->scoreB, match->teamB != nullptr ? match->teamB->name.c_str() : "");
        scoreText = text;
    }
    countTexts[kYellowCard] = formatNumber("%d", profile.yellowCards);
    countTexts[kRedCard] = formatNumber("%d", profile.redCards);
    countTexts[kInjury] = formatNumber("%d", profile.injuries);
    countTexts[kOffsideFlag] = formatNumber("%d", profile.offsideFlags);
    shownTotal = profile.totalPoints;
    pendingMatch = profile.lastMatchPoints;
    fills[kYellowCard] = profile.yellowCardFill;
    fills[kRedCard] = profile.redCardFill;
    fills[kInjury] = profile.injuryFill;
    fills[kOffsideFlag] = profile.offsideFill;
}

void PostMatchDialog::SetBounds(int newX, int newY, int newWidth, int newHeight) {
    GameDialog::SetBounds(newX, newY, newWidth, newHeight);
    placeBottomRight(button(kNextButton), IMAGE_NEXT_BUTTON, 10);
}

void PostMatchDialog::UpdateSelf() {
    GameDialog::UpdateSelf();
    Invalidate();

    // The bar covers what the meter lacks: all of it at 0 percent, nothing at 100. Integer
    // arithmetic gives the exact whole part (in floating point, 70 percent would come out as 17
    // pixels instead of 18).
    for (int i = 0; i < kMeterCount; ++i) barHeights[i] = (100 - fills[i]) * kBarHeight / 100;

    ++matchCounter;
    if (pendingMatch > 0) {
        if (matchCounter >= 2) moveStep(pendingMatch, shownTotal);
        return;
    }

    ++fillCounter;
    if (fillCounter >= 2) {
        auto meter = std::find_if(fills.begin(), fills.end(), [](int fill) { return fill > 0; });
        if (meter == fills.end()) {
            drained = true;
        } else {
            --*meter;
            ++pendingPowerUp;
        }
    }

    ++transferCounter;
    if (transferCounter >= 2 && drained) {
        if (pendingPowerUp > 0)
            moveStep(pendingPowerUp, shownTotal);
        else
            button(kNextButton)->Show(true);
    }
}

void PostMatchDialog::DrawSelf(Zarvo::Graphics* g) {
    GameDialog::DrawSelf(g);
    useFont(g, FONT_ROCKWELLEXTRABOLD16);
    g->DrawString(scoreText, 40, 60);
    useFont(g, FONT_DEFAULT);
    g->DrawString("Total Points:", 40, 100);
    g->DrawString(formatNumber("%d", shownTotal), 240, 100);
    g->DrawString("Match Points:", 40, 140);
    g->DrawString(formatNumber("%d", pendingMatch), 240, 140);
    g->DrawString("PowerUp Points:", 40, 180);
    g->DrawString(formatNumber("%d", pendingPowerUp), 240, 180);
    g->DrawString("PowerUps:", 40, 220);

    Zarvo::MemoryImage* tile = IMAGE_POWERUP_BACKGROUND;
    if (tile == nullptr) return;
    const struct {
        int meter;
        Zarvo::MemoryImage* icon;
        int tileX;
        int tileY;
    } tiles[] = {{kYellowCard, IMAGE_YELLOW_CARD, 40, 240},
                 {kRedCard, IMAGE_RED_CARD, 170, 240},
                 {kInjury, IMAGE_INJURY, 40, 310},
                 {kOffsideFlag, IMAGE_OFFSIDE_FLAG, 170, 310}};
    for (const auto& t : tiles) {
        g->DrawImage(tile, t.tileX, t.tileY);
        if (t.icon != nullptr) g->DrawImage(t.icon, t.tileX + 10, t.tileY + 10);
        if (IMAGE_POWERUP_FILLER != nullptr)
            g->DrawImage(IMAGE_POWERUP_FILLER, t.tileX, t.tileY, kBarHeight, barHeights[t.meter]);
        if (IMAGE_POWERUP_OVERLAY != nullptr) g->DrawImage(IMAGE_POWERUP_OVERLAY, t.tileX, t.tileY);
        g->DrawString(countTexts[t.meter], t.tileX + tile->GetWidth(),
                      static_cast<int>(t.tileY + 0.6 * tile->GetHeight()));
    }
}

void PostMatchDialog::ButtonDepress(int buttonId) {
    if (buttonId != kNextButton) {
        Dialog::ButtonDepress(buttonId);
        return;
    }
    app.RemoveDialog(this);
    PlayState::instance().profile.totalPoints = shownTotal;
    app.sendScreenEvent(EVENT_DIALOG_CLOSED, nullptr);
    app.sendScreenEvent(EVENT_TALLY_DONE, nullptr);
}

}  // namespace Kelvane

#include "game/dialogs/PreMatchDialog.h"

#include "game/GameApp.h"
#include "game/ResourceIds.h"
#include "game/dialogs/TextFormat.h"
#include "game/save/Profile.h"
#include "game/tour/PlayState.h"
#include "game/tour/Team.h"
#include "graphics/Graphics.h"
#include "graphics/MemoryImage.h"

namespace Kelvane {

PreMatchDialog::PreMatchDialog(GameApp& gameApp)
    : GameDialog(gameApp, IMAGE_PROFILE_DIALOG_BACKGROUND, kDialogId, " ", " ", " ",
                 Zarvo::Insets{15, 15, 15, 15}) {
    addButton(IMAGE_EXIT_BUTTON, kExitButton);
    const Profile& profile = PlayState::instance().profile;
    teamText = "Team:  " + (profile.team != nullptr ? profile.team->name : std::string());
    pointsText = formatNumber("Total Points:  %d", profile.totalPoints);
    redCardsText = formatNumber(" x %d", profile.redCards);
    yellowCardsText = formatNumber(" x %d", profile.yellowCards);
    injuriesText = formatNumber(" x %d", profile.injuries);
    offsideFlagsText = formatNumber(" x %d", profile.offsideFlags);
}

void PreMatchDialog::SetBounds(int newX, int newY, int newWidth, int newHeight) {
    GameDialog::SetBounds(newX, newY, newWidth, newHeight);
    placeBottomRight(button(kExitButton), IMAGE_EXIT_BUTTON, 10);
}

void PreMatchDialog::DrawSelf(Zarvo::Graphics* g) {
    GameDialog::DrawSelf(g);
    useFont(g, FONT_ROCKWELLEXTRABOLD20);
    g->DrawString(teamText, 50, 70);
    useFont(g, FONT_DEFAULT);
    g->DrawString(pointsText, 50, 120);
    g->DrawString("PowerUps:", 50, 150);
    const struct {
        Zarvo::MemoryImage* icon;
        int iconX;
        const std::string& count;
    } rows[] = {{IMAGE_YELLOW_CARD, 50, yellowCardsText},
                {IMAGE_RED_CARD, 150, redCardsText},
                {IMAGE_INJURY, 250, injuriesText},
                {IMAGE_OFFSIDE_FLAG, 350, offsideFlagsText}};
    constexpr int kIconY = 170;
    for (const auto& row : rows) {
        if (row.icon == nullptr) continue;
        g->DrawImage(row.icon, row.iconX, kIconY);
        g->DrawString(row.count, row.iconX + row.icon->GetWidth(),
                      static_cast<int>(kIconY + 0.5 * row.icon->GetHeight()));
    }
}

void PreMatchDialog::ButtonDepress(int buttonId) {
    if (buttonId == kExitButton)
        close(false);
    else
        Dialog::ButtonDepress(buttonId);
}

}  // namespace Kelvane

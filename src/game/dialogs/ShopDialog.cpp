#include "game/dialogs/ShopDialog.h"

#include "game/GameApp.h"
#include "game/ResourceIds.h"
#include "game/dialogs/TextFormat.h"
#include "game/save/Profile.h"
#include "game/tour/PlayState.h"
#include "graphics/Graphics.h"
#include "graphics/MemoryImage.h"

namespace Kelvane {

namespace {
// The buy buttons from top to bottom, with their rows' offsets below the top inset.
struct Offer {
    int buttonId;
    int price;
    int rowY;
    const char* priceText;
};
constexpr Offer kOffers[] = {
    {ShopDialog::kBuyOffsideFlag, ShopDialog::kOffsideFlagPrice, 90, "200pts"},
    {ShopDialog::kBuyRedCard, ShopDialog::kRedCardPrice, 140, "150pts"},
    {ShopDialog::kBuyYellowCard, ShopDialog::kYellowCardPrice, 190, "100pts"},
    {ShopDialog::kBuyInjury, ShopDialog::kInjuryPrice, 240, "50pts"},
};

int heightOf(const Zarvo::MemoryImage* image) {
    return image != nullptr ? image->GetHeight() : 0;
}
}  // namespace

ShopDialog::ShopDialog(GameApp& gameApp)
    : GameDialog(gameApp, IMAGE_SHOP_DIALOG_BACKGROUND, kDialogId, " ", " ", " ",
                 Zarvo::Insets{5, 5, 5, 5}) {
    addButton(IMAGE_EXIT_BUTTON, kExitButton);
    for (int id : {kBuyRedCard, kBuyYellowCard, kBuyInjury, kBuyOffsideFlag})
        addButton(IMAGE_BUY_BUTTON, id);
    totalText = formatNumber("Total Points:  %d", PlayState::instance().profile.totalPoints);
}

void ShopDialog::SetBounds(int newX, int newY, int newWidth, int newHeight) {
    GameDialog::SetBounds(newX, newY, newWidth, newHeight);
    placeBottomRight(button(kExitButton), IMAGE_EXIT_BUTTON, 20);
    // The buy buttons are centred on the rows of the power-up tiles.
    const int centring = (heightOf(IMAGE_POWERUP_OVERLAY) - heightOf(IMAGE_BUY_BUTTON)) / 2;
    for (const Offer& offer : kOffers) {
        placeAtImageSize(button(offer.buttonId), IMAGE_BUY_BUTTON, x + contentInsets.left + 240,
                         y + centring + contentInsets.top + offer.rowY);
    }
}

void ShopDialog::OnAttached(Zarvo::WidgetManager* m) {
    GameDialog::OnAttached(m);
    refresh();
}

void ShopDialog::refresh() {
    const int total = PlayState::instance().profile.totalPoints;
    for (const Offer& offer : kOffers) {
        Zarvo::DialogButton* buy = button(offer.buttonId);
        const bool affordable = total >= offer.price;
        buy->componentImage = affordable ? IMAGE_BUY_BUTTON : IMAGE_BUY_BUTTON_DISABLED;
        buy->SetDisabledFlag(!affordable);
        buy->Invalidate();
    }
    totalText = formatNumber("Total Points:  %d", total);
    Invalidate();
}

void ShopDialog::DrawSelf(Zarvo::Graphics* g) {
    GameDialog::DrawSelf(g);
    const int l = contentInsets.left;
    const int t = contentInsets.top;
    useFont(g, FONT_ROCKWELLEXTRABOLD16);
    g->DrawString(totalText, l + 20, t + 80);
    useFont(g, FONT_DEFAULT);
    Zarvo::MemoryImage* const icons[] = {IMAGE_OFFSIDE_FLAG, IMAGE_RED_CARD, IMAGE_YELLOW_CARD,
                                         IMAGE_INJURY};
    const int tileHeight = heightOf(IMAGE_POWERUP_OVERLAY);
    for (int row = 0; row < 4; ++row) {
        if (icons[row] != nullptr) g->DrawImage(icons[row], l + 60, t + 100 + 50 * row);
        g->DrawString(kOffers[row].priceText, l + 120,
                      static_cast<int>(t + kOffers[row].rowY + 0.6 * tileHeight));
    }
}

void ShopDialog::ButtonDepress(int buttonId) {
    if (buttonId == kExitButton) {
        close(false);
        return;
    }
    Profile& profile = PlayState::instance().profile;
    for (const Offer& offer : kOffers) {
        if (offer.buttonId != buttonId) continue;
        // A disabled button cannot be clicked; the points are checked again all the same, so
        // that the total never goes below zero.
        if (profile.totalPoints < offer.price) return;
        switch (buttonId) {
            case kBuyRedCard:
                ++profile.redCards;
                break;
            case kBuyYellowCard:
                ++profile.yellowCards;
                break;
            case kBuyInjury:
                ++profile.injuries;
                break;
            case kBuyOffsideFlag:
                ++profile.offsideFlags;
                break;
        }
        profile.totalPoints -= offer.price;
        refresh();
        return;
    }
    Dialog::ButtonDepress(buttonId);
}

}  // namespace Kelvane

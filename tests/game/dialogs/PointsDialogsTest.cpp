// The dialogs of points and power-ups: the profile, the post-match tally update by update, and
// the shop with its prices and purchases.
#include <utility>

#include "diagnostics/AllocationTracker.h"
#include "game/dialogs/DialogFixture.h"
#include "game/dialogs/PostMatchDialog.h"
#include "game/dialogs/PreMatchDialog.h"
#include "game/dialogs/ShopDialog.h"
#include "game/save/Profile.h"

namespace Kelvane {
namespace {

using testing::DialogTest;
using Zarvo::Rect;

using Events = std::vector<int32_t>;

class PointsDialogsTest : public DialogTest {
protected:
    Profile& profile() { return PlayState::instance().profile; }
};

TEST_F(PointsDialogsTest, ProfileShowsTheTeamThePointsAndThePowerUpsHeld) {
    sizeImage("IMAGE_EXIT_BUTTON", 30, 12);
    GamePlay& play = PlayState::instance().gamePlay;
    play.startWorldTour();
    profile().setTeam(play.findNation(1));
    profile().redCards = 1;
    profile().yellowCards = 2;
    profile().injuries = 3;
    profile().offsideFlags = 4;
    auto* dialog = open(KNEW PreMatchDialog(app), 50, 50, 500, 330);
    EXPECT_EQ(dialog->id, 207);
    EXPECT_EQ(dialog->componentImage, IMAGE_PROFILE_DIALOG_BACKGROUND);
    EXPECT_EQ(dialog->teamText, "Team:  Brazil");
    EXPECT_EQ(dialog->pointsText, "Total Points:  3200");
    EXPECT_EQ(dialog->redCardsText, " x 1");
    EXPECT_EQ(dialog->yellowCardsText, " x 2");
    EXPECT_EQ(dialog->injuriesText, " x 3");
    EXPECT_EQ(dialog->offsideFlagsText, " x 4");
    EXPECT_EQ(bounds(dialog->button(PreMatchDialog::kExitButton)), Rect(495, 343, 30, 12));
    draw(dialog);
    click(dialog->button(PreMatchDialog::kExitButton));
    EXPECT_EQ(screen->events, (Events{EVENT_DIALOG_CLOSED}));
    EXPECT_EQ(app.GetDialogCount(), 0);
}

class PostMatchTest : public PointsDialogsTest {
protected:
    PostMatchDialog* openTally() { return open(KNEW PostMatchDialog(app), 50, 50, 540, 405); }
    // Runs updates until the next button shows; false when it does not within `limit`.
    bool runUntilNext(PostMatchDialog* d, int limit = 50) {
        for (int i = 0; i < limit && !d->button(PostMatchDialog::kNextButton)->visible; ++i)
            update();
        return d->button(PostMatchDialog::kNextButton)->visible;
    }
};

TEST_F(PostMatchTest, ShowsTheScoreAndPlacesTheHiddenNextButton) {
    sizeImage("IMAGE_NEXT_BUTTON", 30, 12);
    GamePlay& play = PlayState::instance().gamePlay;
    play.startFriendly([] { return 0u; });
    Match* match = play.currentMatch();
    ASSERT_NE(match, nullptr);
    match->scoreA = 3;
    match->scoreB = 1;
    profile().redCards = 7;
    PostMatchDialog* tally = openTally();
    EXPECT_EQ(tally->scoreText, match->teamA->name + " (3 - 1) " + match->teamB->name);
    EXPECT_EQ(tally->countTexts[PostMatchDialog::kRedCard], "7");
    Zarvo::DialogButton* next = tally->button(PostMatchDialog::kNextButton);
    EXPECT_EQ(bounds(next), Rect(535, 418, 30, 12));
    EXPECT_FALSE(next->visible);
    draw(tally);
}

TEST_F(PostMatchTest, MatchPointsCountInTwoAtATimeThenNextAppears) {
    profile().totalPoints = 100;
    profile().lastMatchPoints = 5;
    PostMatchDialog* tally = openTally();
    EXPECT_EQ(tally->shownTotal, 100);
    EXPECT_EQ(tally->pendingMatch, 5);
    update();  // the first update only starts the count
    EXPECT_EQ(tally->shownTotal, 100);
    const std::pair<int, int> steps[] = {{102, 3}, {104, 1}, {105, 0}};
    for (const auto& [total, pending] : steps) {
        update();
        EXPECT_EQ(tally->shownTotal, total);
        EXPECT_EQ(tally->pendingMatch, pending);
    }
    ASSERT_TRUE(runUntilNext(tally));
    EXPECT_EQ(tally->shownTotal, 105);
    EXPECT_EQ(tally->pendingPowerUp, 0);
    EXPECT_TRUE(tally->drained);
    // The profile changes only when next is pressed.
    EXPECT_EQ(profile().totalPoints, 100);
    EXPECT_EQ(profile().lastMatchPoints, 5);
}

TEST_F(PostMatchTest, MeterFillsBecomePowerUpPointsOneUnitAnUpdate) {
    profile().totalPoints = 10;
    profile().yellowCardFill = 3;  // yellow card, red card, injury, offside: 3, 0, 0, 0
    PostMatchDialog* tally = openTally();
    EXPECT_EQ(tally->fills, (std::array<int, 4>{3, 0, 0, 0}));
    update();  // starts the counters
    std::vector<int> pending;
    std::vector<int> totals;
    while (!tally->button(PostMatchDialog::kNextButton)->visible && pending.size() < 20) {
        update();
        pending.push_back(tally->pendingPowerUp);
        totals.push_back(tally->shownTotal);
    }
    EXPECT_EQ(pending, (std::vector<int>{1, 2, 3, 1, 0, 0}));
    EXPECT_EQ(totals, (std::vector<int>{10, 10, 10, 12, 13, 13}));
    EXPECT_EQ(tally->fills, (std::array<int, 4>{0, 0, 0, 0}));
    // The meter fills of the profile stay as they were.
    EXPECT_EQ(profile().yellowCardFill, 3);
}

TEST_F(PostMatchTest, BarsCoverWhatTheMetersLackAtTheStartOfEachUpdate) {
    profile().yellowCardFill = 100;
    profile().redCardFill = 70;
    profile().injuryFill = 50;
    profile().offsideFill = 0;
    PostMatchDialog* tally = openTally();
    update();
    EXPECT_EQ(tally->barHeights, (std::array<int, 4>{0, 18, 30, 60}));
    update();  // measured before the first unit is taken from the yellow card
    EXPECT_EQ(tally->barHeights[PostMatchDialog::kYellowCard], 0);
    EXPECT_EQ(tally->fills[PostMatchDialog::kYellowCard], 99);
    update();
    EXPECT_EQ(tally->barHeights[PostMatchDialog::kYellowCard], 0);  // 99 percent: 0.6 pixels
    // The red card's tile at (170, 240) of the dialog shows its 18-pixel bar from the top.
    paintImage("IMAGE_POWERUP_FILLER", Zarvo::Color(0, 0, 255));
    EXPECT_TRUE(samePixel(draw(tally, 50 + 170 + 5, 50 + 240 + 17), 0xFF0000FFu));
    EXPECT_FALSE(samePixel(draw(tally, 50 + 170 + 5, 50 + 240 + 18), 0xFF0000FFu));
}

TEST_F(PostMatchTest, NextStoresTheTotalAndReportsTheTally) {
    profile().totalPoints = 40;
    profile().lastMatchPoints = 3;
    profile().injuryFill = 1;
    PostMatchDialog* tally = openTally();
    ASSERT_TRUE(runUntilNext(tally));
    EXPECT_EQ(tally->shownTotal, 44);
    click(tally->button(PostMatchDialog::kNextButton));
    EXPECT_EQ(profile().totalPoints, 44);
    EXPECT_EQ(screen->events, (Events{EVENT_DIALOG_CLOSED, EVENT_TALLY_DONE}));
    EXPECT_EQ(app.GetDialogCount(), 0);
}

class ShopTest : public PointsDialogsTest {
protected:
    ShopDialog* openShop() { return open(KNEW ShopDialog(app), 50, 50, 400, 390); }
};

TEST_F(ShopTest, PlacesTheBuyButtonsOnTheRowsAndExitAtTheBottomRight) {
    sizeImage("IMAGE_BUY_BUTTON", 30, 12);
    sizeImage("IMAGE_POWERUP_OVERLAY", 60, 40);
    sizeImage("IMAGE_EXIT_BUTTON", 30, 12);
    ShopDialog* shop = openShop();
    EXPECT_EQ(shop->id, 208);
    EXPECT_EQ(shop->contentInsets.left, 5);
    struct Case {
        int id;
        Rect expected;
    } cases[] = {{ShopDialog::kBuyOffsideFlag, {295, 159, 30, 12}},
                 {ShopDialog::kBuyRedCard, {295, 209, 30, 12}},
                 {ShopDialog::kBuyYellowCard, {295, 259, 30, 12}},
                 {ShopDialog::kBuyInjury, {295, 309, 30, 12}},
                 {ShopDialog::kExitButton, {395, 403, 30, 12}}};
    for (const Case& c : cases) EXPECT_EQ(bounds(shop->button(c.id)), c.expected) << c.id;
    draw(shop);
}

TEST_F(ShopTest, PricesDecideWhatCanBeBoughtAndEachPurchaseCountsAtOnce) {
    profile().totalPoints = 120;
    ShopDialog* shop = openShop();
    EXPECT_EQ(shop->totalText, "Total Points:  120");
    struct State {
        int id;
        bool enabled;
    };
    auto expectEnabled = [&](std::initializer_list<State> states, const char* when) {
        for (const State& s : states) {
            Zarvo::DialogButton* b = shop->button(s.id);
            EXPECT_EQ(b->disabled, !s.enabled) << when << ", button " << s.id;
            EXPECT_EQ(b->componentImage, s.enabled ? IMAGE_BUY_BUTTON : IMAGE_BUY_BUTTON_DISABLED)
                << when << ", button " << s.id;
        }
    };
    expectEnabled({{ShopDialog::kBuyRedCard, false},
                   {ShopDialog::kBuyYellowCard, true},
                   {ShopDialog::kBuyInjury, true},
                   {ShopDialog::kBuyOffsideFlag, false}},
                  "with 120 points");

    // A disabled button takes no click.
    click(shop->button(ShopDialog::kBuyRedCard));
    EXPECT_EQ(profile().redCards, 0);
    EXPECT_EQ(profile().totalPoints, 120);

    click(shop->button(ShopDialog::kBuyInjury));
    EXPECT_EQ(profile().injuries, 1);
    EXPECT_EQ(profile().totalPoints, 70);
    EXPECT_EQ(shop->totalText, "Total Points:  70");
    expectEnabled({{ShopDialog::kBuyRedCard, false},
                   {ShopDialog::kBuyYellowCard, false},
                   {ShopDialog::kBuyInjury, true},
                   {ShopDialog::kBuyOffsideFlag, false}},
                  "with 70 points");
    EXPECT_TRUE(screen->events.empty());

    click(shop->button(ShopDialog::kExitButton));
    EXPECT_EQ(screen->events, (Events{EVENT_DIALOG_CLOSED}));
    EXPECT_EQ(app.GetDialogCount(), 0);
}

TEST_F(ShopTest, EachBuyButtonAddsItsPowerUpForItsPrice) {
    struct Case {
        int id;
        int price;
        int Profile::*held;
    } cases[] = {{ShopDialog::kBuyRedCard, 150, &Profile::redCards},
                 {ShopDialog::kBuyYellowCard, 100, &Profile::yellowCards},
                 {ShopDialog::kBuyInjury, 50, &Profile::injuries},
                 {ShopDialog::kBuyOffsideFlag, 200, &Profile::offsideFlags}};
    profile().totalPoints = 1000;
    ShopDialog* shop = openShop();
    int total = 1000;
    for (const Case& c : cases) {
        click(shop->button(c.id));
        total -= c.price;
        EXPECT_EQ(profile().*c.held, 1) << c.id;
        EXPECT_EQ(profile().totalPoints, total) << c.id;
    }
}

}  // namespace
}  // namespace Kelvane

// Playing by keyboard alone, in the real application: from the start screen through a friendly
// match (swaps, pause, the menu) to the post-match tally and back, with keys delivered as the
// window delivers them.
#include "game/input/KeyboardControl.h"

#include <gtest/gtest.h>

#include <array>

#include "game/autoplay/AutoPlayer.h"
#include "game/goals/GoalSystem.h"
#include "game/grid/PieceGrid.h"
#include "game/screens/BoardFixture.h"
#include "game/screens/MainScreen.h"
#include "game/screens/ScreenIds.h"
#include "platform/WindowMessage.h"
#include "widgets/Dialog.h"

namespace Kelvane {
namespace {

namespace VKey = Zarvo::VKey;

class KeyboardPlayTest : public testing::BoardFixture {
protected:
    void key(int code) {
        using Zarvo::WindowMessage;
        app.WindowProcedure(WindowMessage{WindowMessage::kMainWindow, Zarvo::Msg::kKeyDown,
                                          static_cast<uint64_t>(code), 0});
        app.WindowProcedure(WindowMessage{WindowMessage::kMainWindow, Zarvo::Msg::kKeyUp,
                                          static_cast<uint64_t>(code), 0});
        while (app.ReplayDeferredMessages()) {
        }
    }
    template <class F>
    bool runUntil(F done, int limit) {
        for (int i = 0; i < limit; ++i) {
            if (done()) return true;
            app.UpdateOnce();
        }
        return done();
    }
    MainScreen& match() { return screen<MainScreen>(SCREEN_MAIN); }

    // Moves the focus square to (column, row) with the arrow keys.
    void moveTo(int column, int row) {
        KeyboardControl& keys = app.keyboard();
        while (keys.boardColumn() < column) key(VKey::kRight);
        while (keys.boardColumn() > column) key(VKey::kLeft);
        while (keys.boardRow() < row) key(VKey::kUp);
        while (keys.boardRow() > row) key(VKey::kDown);
    }
    // One swap the way a player finds it: pick the piece, then the arrow towards its partner.
    bool swapByKeys() {
        PieceGrid& grid = *match().grid;
        std::array<int, 49> kinds{};
        for (int c = 0; c < 7; ++c)
            for (int r = 0; r < 7; ++r) kinds[c * 7 + r] = grid.pieceAt(c, r)->kind;
        AutoPlayer::Swap swap{};
        if (!AutoPlayer::bestSwap(kinds, swap)) return false;
        moveTo(swap.column1, swap.row1);
        key(VKey::kSpace);
        EXPECT_EQ(grid.firstSelection(), grid.pieceAt(swap.column1, swap.row1));
        key(swap.column2 > swap.column1 ? VKey::kRight : VKey::kUp);
        EXPECT_NE(grid.secondSelection(), nullptr);
        return true;
    }
};

TEST_F(KeyboardPlayTest, AFriendlyMatchFromTheStartScreenAndBackByKeysAlone) {
    gui().switchTo(SCREEN_START);
    key(VKey::kTab);  // the ring lands on the start button, first in reading order
    EXPECT_TRUE(app.keyboard().ringVisible());
    key(VKey::kReturn);
    ASSERT_EQ(gui().currentScreenId(), SCREEN_GAME_TYPE);
    key(VKey::kTab);  // friendly match
    key(VKey::kReturn);
    ASSERT_EQ(gui().currentScreenId(), SCREEN_MAIN);
    ASSERT_TRUE(runUntil([&] { return match().playing; }, 2000));

    int swaps = 0;
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(runUntil([&] { return !match().grid->isInputBlocked(); }, 2000));
        if (swapByKeys()) ++swaps;
    }
    EXPECT_EQ(swaps, 5);
    ASSERT_TRUE(runUntil([&] { return !match().grid->isInputBlocked(); }, 2000));
    EXPECT_GT(match().goals->matchPoints, 0);

    // P pauses and resumes; Escape opens the menu, and Escape there closes it and resumes.
    key('P');
    EXPECT_TRUE(match().pausedByButton);
    EXPECT_TRUE(match().grid->isPaused());
    key('P');
    EXPECT_FALSE(match().grid->isPaused());
    key(VKey::kEscape);
    ASSERT_NE(app.FindDialog(203), nullptr);
    EXPECT_TRUE(match().grid->isPaused());
    key(VKey::kEscape);
    app.UpdateOnce();
    EXPECT_EQ(app.FindDialog(203), nullptr);
    EXPECT_FALSE(match().grid->isPaused());
    EXPECT_FALSE(match().cover->hasImage);

    // The rest of the match runs out; the tally is acknowledged by keys.
    ASSERT_TRUE(runUntil([&] { return app.FindDialog(206) != nullptr; }, 12000));
    Zarvo::Dialog* tally = app.FindDialog(206);
    key(VKey::kEscape);  // the next button is still hidden: nothing happens
    EXPECT_EQ(app.FindDialog(206), tally);
    // Once the tally has run, its next button joins the ring.
    int tries = 0;
    while (app.FindDialog(206) != nullptr && ++tries < 400) {
        for (int i = 0; i < 50; ++i) app.UpdateOnce();
        key(VKey::kTab);
        key(VKey::kReturn);
    }
    ASSERT_EQ(app.FindDialog(206), nullptr);
    ASSERT_TRUE(runUntil([&] { return gui().currentScreenId() == SCREEN_START; }, 3000));
}

TEST_F(KeyboardPlayTest, TabWalksTheDialogsButtonsAndEnterPressesTheRingedOne) {
    gui().switchTo(SCREEN_START);
    key(VKey::kEscape);  // the start screen's menu
    ASSERT_NE(app.FindDialog(203), nullptr);
    // Options, rules, credits, quit, exit from the top down: four steps reach quit.
    for (int i = 0; i < 4; ++i) key(VKey::kTab);
    key(VKey::kReturn);
    app.UpdateOnce();
    ASSERT_NE(app.FindDialog(204), nullptr);
    // Escape answers the quit question with no.
    key(VKey::kEscape);
    app.UpdateOnce();
    EXPECT_EQ(app.FindDialog(204), nullptr);
    EXPECT_FALSE(app.IsShutDown());
    app.DrawIfDirty();
}

TEST_F(KeyboardPlayTest, SplashScreensAreSkippedByAKeyOnceTheyAreShown) {
    ASSERT_EQ(gui().currentScreenId(), SCREEN_ORLEND);
    key(VKey::kReturn);  // still fading in
    EXPECT_EQ(gui().currentScreenId(), SCREEN_ORLEND);
    ASSERT_TRUE(runUntil(
        [&] { return gui().currentScreen()->findObject(OBJECT_BACKGROUND)->clickable; }, 400));
    key(VKey::kSpace);
    EXPECT_EQ(gui().currentScreenId(), SCREEN_KELVANE);
}

}  // namespace
}  // namespace Kelvane

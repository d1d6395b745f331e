// The match screen in the real application: a whole match update by update (opening drop,
// banners, play, time up, tally, fly-out), the pause and menu buttons, and click routing.
#include "game/screens/MainScreen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "game/goals/GameClock.h"
#include "game/goals/GoalSystem.h"
#include "game/grid/PieceGrid.h"
#include "game/screens/BoardFixture.h"
#include "game/screens/MessageSystem.h"
#include "game/screens/ScreenIds.h"
#include "game/tour/PlayState.h"
#include "platform/WindowMessage.h"

namespace Kelvane {
namespace {

class MainScreenTest : public testing::BoardFixture {
protected:
    MainScreen& match() { return screen<MainScreen>(SCREEN_MAIN); }

    void startFriendly() {
        PlayState::instance().gamePlay.startFriendly([] { return 5u; });
        gui().switchTo(SCREEN_MAIN);
    }
    // Runs until `done` holds; answers the updates it took, or -1 after `limit`.
    template <class F>
    int runUntil(F done, int limit) {
        for (int i = 1; i <= limit; ++i) {
            app.UpdateOnce();
            if (done()) return i;
        }
        return -1;
    }
    void runToPlay() {
        ASSERT_GT(runUntil([&] { return match().playing; }, 2000), 0);
    }
};

TEST_F(MainScreenTest, EnteringDealsAFreshMatchWithItsButtonsAndNoPlayYet) {
    startFriendly();
    MainScreen& m = match();
    ASSERT_NE(m.matchSetup, nullptr);
    EXPECT_EQ(m.matchSetup->size, 10);
    EXPECT_EQ(m.matchSetup->kinds, (std::vector<PieceKind>{7, 4, 3, 5, 1}));
    EXPECT_EQ(m.boardObjects.size(), 49u);
    for (ScreenObject* piece : m.boardObjects) {
        EXPECT_EQ(piece->id, EVENT_PLAY_OR_PIECE);
        EXPECT_EQ(piece->param, piece);
    }
    ASSERT_NE(m.pauseButton, nullptr);
    EXPECT_EQ(m.pauseButton->x, 160);
    EXPECT_EQ(m.pauseButton->y, 420);
    EXPECT_EQ(m.pauseButton->imageId, Res::IMAGE_PAUSE_BUTTON);
    EXPECT_EQ(m.menuButton->x, 55);
    EXPECT_EQ(m.menuButton->imageId, Res::IMAGE_MENU_BUTTON);
    EXPECT_FALSE(m.playing);
    EXPECT_TRUE(m.clock->waiting);
    EXPECT_TRUE(m.goals->waiting);
    EXPECT_FALSE(m.messages->banner->hasImage);
    EXPECT_EQ(m.messages->banner->x, -490);

    // Before the go banner the menu and pause buttons do nothing.
    gui().sendEvent(EVENT_PAUSE, nullptr);
    gui().sendEvent(EVENT_MENU, nullptr);
    EXPECT_FALSE(m.pausedByButton);
    EXPECT_FALSE(m.grid->isPaused());
    EXPECT_EQ(app.GetDialogCount(), 0);
}

TEST_F(MainScreenTest, AWholeMatchRunsFromTheOpeningDropToTheNextScreen) {
    startFriendly();
    MainScreen& m = match();
    // The ready banner comes when the opening drop has landed, slides in over 155 updates and
    // holds 201 more; the go banner follows at once and the same way, then play starts.
    const int landed = runUntil([&] { return m.messages->active; }, 1000);
    ASSERT_GT(landed, 0);
    EXPECT_EQ(m.messages->banner->imageId, Res::IMAGE_READY_MESSAGE);
    EXPECT_EQ(m.messages->banner->x, -486);  // its first step comes in the update it is shown
    EXPECT_EQ(runUntil([&] { return m.messages->banner->x >= 129; }, 400), 154);
    EXPECT_EQ(m.messages->banner->x, 130);
    EXPECT_EQ(runUntil([&] { return m.messages->banner->imageId == Res::IMAGE_GO_MESSAGE; }, 400),
              201);
    EXPECT_EQ(m.messages->banner->x, -490);
    EXPECT_TRUE(m.messages->banner->hasImage);
    EXPECT_FALSE(m.playing);
    EXPECT_EQ(runUntil([&] { return m.playing; }, 400), 356);
    EXPECT_FALSE(m.clock->waiting);
    EXPECT_FALSE(m.goals->waiting);
    EXPECT_FALSE(m.grid->isInputBlocked());

    // Time runs out on the clock's 9091st running update; the grid is idle, so the time-up
    // banner starts at once, and the tally opens when it has gone.
    const int timeUp = runUntil([&] { return !m.playing; }, 9200);
    EXPECT_EQ(timeUp, 9091);
    EXPECT_TRUE(m.awaitingTimeUp);
    EXPECT_TRUE(m.grid->isInputBlocked());
    app.UpdateOnce();
    EXPECT_FALSE(m.awaitingTimeUp);
    EXPECT_TRUE(m.messages->active);
    EXPECT_EQ(m.messages->banner->imageId, Res::IMAGE_TIME_UP_MESSAGE);
    EXPECT_TRUE(m.goals->waiting);
    EXPECT_TRUE(m.grid->isInputBlocked());
    EXPECT_EQ(runUntil([&] { return app.FindDialog(206) != nullptr; }, 400), 355);
    EXPECT_TRUE(m.cover->hasImage);
    Match* played = PlayState::instance().gamePlay.currentMatch();
    ASSERT_NE(played, nullptr);
    EXPECT_EQ(played->scoreA, 0);  // nothing was cleared: the opponent may have scored
    const int opponentGoals = played->scoreB;
    EXPECT_GT(opponentGoals, 0);

    // Acknowledging the tally: the cover goes, the pieces fly off, the friendly is recorded and
    // the start screen comes.
    app.RemoveDialog(206);
    gui().sendEvent(EVENT_DIALOG_CLOSED, nullptr);
    gui().sendEvent(EVENT_TALLY_DONE, nullptr);
    EXPECT_FALSE(m.cover->hasImage);
    ASSERT_GT(runUntil([&] { return gui().currentScreenId() == SCREEN_START; }, 2000), 0);
    EXPECT_EQ(PlayState::instance().gamePlay.currentMatch(), nullptr);
    EXPECT_TRUE(m.boardObjects.empty());
    EXPECT_EQ(m.matchSetup, nullptr);
    EXPECT_EQ(m.messages->banner, nullptr);
    updates(3);  // nothing of the match runs on
}

TEST_F(MainScreenTest, PauseThenMenuLeavesTheMatchPausedWhenTheMenuCloses) {
    startFriendly();
    runToPlay();
    MainScreen& m = match();
    gui().sendEvent(EVENT_PAUSE, nullptr);
    EXPECT_TRUE(m.pausedByButton);
    EXPECT_TRUE(m.grid->isPaused());
    EXPECT_TRUE(m.clock->paused);
    EXPECT_TRUE(m.goals->paused);
    EXPECT_EQ(m.pauseButton->imageId, Res::IMAGE_PAUSE_BUTTON_CLICKED);

    gui().sendEvent(EVENT_MENU, nullptr);
    EXPECT_NE(app.FindDialog(203), nullptr);
    EXPECT_TRUE(m.cover->hasImage);
    EXPECT_EQ(m.menuButton->imageId, Res::IMAGE_MENU_BUTTON_CLICKED);
    EXPECT_TRUE(m.grid->isPaused());  // the menu does not undo the button's pause

    gui().sendEvent(EVENT_DIALOG_CLOSED, nullptr);
    gui().sendEvent(EVENT_DIALOG_RESUMED, nullptr);
    EXPECT_FALSE(m.cover->hasImage);
    EXPECT_EQ(m.menuButton->imageId, Res::IMAGE_MENU_BUTTON);
    EXPECT_TRUE(m.grid->isPaused());
    EXPECT_TRUE(m.clock->paused);
    EXPECT_TRUE(m.goals->paused);

    // A paused match stands still.
    const int steps = m.clock->timer->value;
    updates(500);
    EXPECT_EQ(m.clock->timer->value, steps);

    gui().sendEvent(EVENT_PAUSE, nullptr);
    EXPECT_FALSE(m.grid->isPaused());
    EXPECT_EQ(m.pauseButton->imageId, Res::IMAGE_PAUSE_BUTTON);
}

TEST_F(MainScreenTest, ARunningMatchPausesItselfWhenTheWindowLosesTheFocus) {
    startFriendly();
    runToPlay();
    MainScreen& m = match();
    auto activate = [this](bool on) {
        app.WindowProcedure(Zarvo::WindowMessage{Zarvo::WindowMessage::kMainWindow,
                                                 Zarvo::Msg::kActivateApp, on ? 1u : 0u, 0});
        while (app.ReplayDeferredMessages()) {
        }
    };
    activate(false);
    EXPECT_TRUE(m.pausedByButton);
    EXPECT_TRUE(m.grid->isPaused());
    EXPECT_EQ(m.pauseButton->imageId, Res::IMAGE_PAUSE_BUTTON_CLICKED);
    // Coming back does not resume it: only the player does.
    activate(true);
    EXPECT_TRUE(m.grid->isPaused());
    gui().sendEvent(EVENT_PAUSE, nullptr);
    EXPECT_FALSE(m.grid->isPaused());
    // Losing the focus before play has started leaves the match as it is.
    gui().switchTo(SCREEN_START);
    startFriendly();
    activate(false);
    EXPECT_FALSE(match().pausedByButton);
    EXPECT_FALSE(match().grid->isPaused());
}

TEST_F(MainScreenTest, TheMenuPausesARunningMatchAndItsCloseResumesIt) {
    startFriendly();
    runToPlay();
    MainScreen& m = match();
    gui().sendEvent(EVENT_MENU, nullptr);
    EXPECT_TRUE(m.grid->isPaused());
    EXPECT_TRUE(m.clock->paused);
    gui().sendEvent(EVENT_DIALOG_RESUMED, nullptr);
    EXPECT_FALSE(m.grid->isPaused());
    EXPECT_FALSE(m.clock->paused);
    EXPECT_FALSE(m.goals->paused);
}

TEST_F(MainScreenTest, APieceOverAButtonTakesTheClickAlone) {
    startFriendly();
    runToPlay();
    MainScreen& m = match();
    auto* piece = static_cast<BoardObject*>(m.boardObjects[0]);
    piece->x = m.pauseButton->x;
    piece->y = m.pauseButton->y;
    click(static_cast<int>(piece->x) + 1, static_cast<int>(piece->y) + 1);
    EXPECT_FALSE(m.pausedByButton);
    EXPECT_EQ(m.grid->firstSelection(), piece);

    // With the piece gone from there, the button takes it.
    piece->x = 0;
    piece->y = 0;
    click(static_cast<int>(m.pauseButton->x) + 1, static_cast<int>(m.pauseButton->y) + 9);
    EXPECT_TRUE(m.pausedByButton);
}

TEST_F(MainScreenTest, TheDrawListPutsTheBoardOverThePanelsAndTheCoverLast) {
    startFriendly();
    runToPlay();
    MainScreen& m = match();
    DrawList list;
    m.collectDrawList(list);
    ASSERT_FALSE(list.empty());
    EXPECT_EQ(list.front(), m.findObject(OBJECT_BACKGROUND));
    EXPECT_EQ(list.back(), m.cover.get());
    EXPECT_EQ(list[list.size() - 2], m.messages->banner.get());
    auto at = [&list](const ScreenObject* o) {
        return std::find(list.begin(), list.end(), o) - list.begin();
    };
    EXPECT_LT(at(m.pauseButton), at(m.goals->objects.front().get()));
    EXPECT_LT(at(m.goals->objects.back().get()), at(m.boardObjects.front()));
    EXPECT_LT(at(m.boardObjects.back()), at(m.clock->objects.front().get()));
    // And the frame is drawn from it without complaint.
    app.DrawIfDirty();
}

}  // namespace
}  // namespace Kelvane

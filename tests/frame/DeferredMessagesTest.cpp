// Queueing rules of the deferred-message list and their replay into the application.
#include <gtest/gtest.h>

#include "TestApp.h"
#include "frame/DeferredMessageList.h"
#include "graphics/MemoryImage.h"

using namespace Zarvo;
using ZarvoTest::TestApp;

namespace {

WindowMessage M(uint32_t message, uint64_t w = 0) {
    return WindowMessage{WindowMessage::kMainWindow, message, w, 0};
}

struct QueueCase {
    const char* name;
    std::vector<uint32_t> arriving;
    std::vector<uint32_t> queued;
};

class QueueingRules : public testing::TestWithParam<QueueCase> {};

TEST_P(QueueingRules, KeepOnlyWhatTheRulesAllow) {
    DeferredMessageList list;
    for (uint32_t m : GetParam().arriving) list.Append(M(m));
    std::vector<uint32_t> got;
    WindowMessage m;
    while (list.TakeFirst(m)) got.push_back(m.message);
    EXPECT_EQ(got, GetParam().queued);
}

INSTANTIATE_TEST_SUITE_P(
    DeferredMessageList, QueueingRules,
    testing::Values(QueueCase{"TwoTimersInARowLeaveOne", {Msg::kTimer, Msg::kTimer}, {Msg::kTimer}},
                    QueueCase{"TimersApartStay",
                              {Msg::kTimer, Msg::kMouseMove, Msg::kTimer},
                              {Msg::kTimer, Msg::kMouseMove, Msg::kTimer}},
                    QueueCase{"NothingAfterAClose",
                              {Msg::kKeyDown, Msg::kClose, Msg::kKeyUp, Msg::kTimer, Msg::kClose},
                              {Msg::kKeyDown, Msg::kClose}},
                    QueueCase{"ColourAndDisplayChangesCollapse",
                              {Msg::kSysColorChange, Msg::kMouseMove, Msg::kDisplayChange,
                               Msg::kSysColorChange},
                              {Msg::kSysColorChange, Msg::kMouseMove}},
                    QueueCase{"InputKeepsItsOrder",
                              {Msg::kLButtonDown, Msg::kMouseMove, Msg::kLButtonUp, Msg::kChar},
                              {Msg::kLButtonDown, Msg::kMouseMove, Msg::kLButtonUp, Msg::kChar}}),
    [](const testing::TestParamInfo<QueueCase>& info) { return std::string(info.param.name); });

TEST(WindowEvents, InputIsReplayedOneMessagePerLoopStepBeforeAnyUpdate) {
    TestApp app;
    app.InitAndLoad();
    app.RunFor(50);
    app.hp.window->Post(M(Msg::kMouseMove));
    app.hp.window->Post(M(Msg::kKeyDown, 'A'));
    app.hp.window->Post(M(Msg::kKeyUp, 'A'));
    while (app.loopPhase != TestApp::kPhaseDone) app.LoopStep();
    const int updates = app.totalUpdates;
    app.LoopStep();  // drains the window and replays the mouse move
    EXPECT_EQ(app.DeferredMessages().Size(), 2u);
    EXPECT_TRUE(app.GetWidgetManager()->MouseIn());
    app.LoopStep();  // key down
    EXPECT_TRUE(app.GetWidgetManager()->IsKeyDown('A'));
    app.LoopStep();  // key up
    EXPECT_FALSE(app.GetWidgetManager()->IsKeyDown('A'));
    EXPECT_EQ(app.totalUpdates, updates);
}

TEST(WindowEvents, CloseEndsTheLoopAndLaterInputIsNotQueued) {
    TestApp app;
    app.InitAndLoad();
    app.Post(Msg::kClose);
    app.Post(Msg::kKeyDown, 'A');
    EXPECT_EQ(app.DeferredMessages().Size(), 1u);
    app.ReplayAll();
    EXPECT_TRUE(app.closeRequested);
    EXPECT_TRUE(app.IsShutDown());
}

TEST(WindowEvents, AltF4ClosesAndOtherAltKeysDoNot) {
    TestApp app;
    app.InitAndLoad();
    EXPECT_EQ(app.WindowProcedure(M(Msg::kSysKeyDown, 'X')), 0);
    app.ReplayAll();
    EXPECT_FALSE(app.IsShutDown());
    app.Post(Msg::kSysKeyDown, VKey::kF4);
    app.ReplayAll();
    EXPECT_TRUE(app.IsShutDown());
}

TEST(WindowEvents, AltEnterTogglesFullScreenUnlessAModeIsForced) {
    TestApp app;
    app.InitAndLoad();
    ASSERT_TRUE(app.windowed);
    app.Post(Msg::kSysKeyDown, VKey::kReturn);
    app.ReplayAll();
    EXPECT_FALSE(app.windowed);
    EXPECT_TRUE(app.hp.window->placement.fullScreen);
    EXPECT_FALSE(app.GetWidgetManager()->IsKeyDown(VKey::kReturn));  // consumed
    app.Post(Msg::kSysKeyDown, VKey::kReturn);
    app.ReplayAll();
    EXPECT_TRUE(app.windowed);
    app.forceWindowed = true;
    app.Post(Msg::kSysKeyDown, VKey::kReturn);
    app.ReplayAll();
    EXPECT_TRUE(app.windowed);
}

TEST(WindowEvents, ReleasingLeftWhileRightIsHeldKeepsTheCapture) {
    TestApp app;
    app.InitAndLoad();
    HeadlessWindow& w = *app.hp.window;
    app.Post(Msg::kLButtonDown, Msg::kButtonLeft, Msg::PackPoint(10, 10));
    app.Post(Msg::kRButtonDown, Msg::kButtonLeft | Msg::kButtonRight, Msg::PackPoint(10, 10));
    app.Post(Msg::kLButtonUp, Msg::kButtonRight, Msg::PackPoint(10, 10));
    app.ReplayAll();
    EXPECT_TRUE(w.captured);
    app.Post(Msg::kRButtonUp, 0, Msg::PackPoint(10, 10));
    app.ReplayAll();
    EXPECT_FALSE(w.captured);
}

TEST(WindowEvents, MouseLeavingTheWindowIsNoticedAtTheNextTimer) {
    TestApp app;
    app.Init();
    bool sawLeave = false;
    app.onUpdate = [&](TestApp& a) {
        auto& w = *a.hp.window;
        if (a.totalUpdates == 5) {
            w.cursorKnown = w.cursorInside = true;
            a.Post(Msg::kMouseMove, 0, Msg::PackPoint(100, 100));
        }
        if (a.totalUpdates == 10) w.cursorInside = false;  // no message: the cursor just left
        if (a.totalUpdates == 13) {
            sawLeave = !a.mouseIn && !a.GetWidgetManager()->MouseIn();
            a.Quit();
        }
    };
    app.Start();
    EXPECT_TRUE(sawLeave);
}

TEST(WindowEvents, NotifyMessageRaisesTheWindow) {
    TestApp app;
    app.InitAndLoad();
    app.hp.window->minimised = true;
    app.Post(app.notifyMessageId, 0, 0);
    EXPECT_EQ(app.hp.window->raiseCount, 1);
    EXPECT_FALSE(app.hp.window->minimised);
}

TEST(WindowEvents, FocusLossMutesAndReleasesHeldKeysAndButtons) {
    TestApp app;
    app.InitAndLoad();
    app.Post(Msg::kKeyDown, 'Q');
    app.Post(Msg::kLButtonDown, Msg::kButtonLeft, Msg::PackPoint(5, 5));
    app.Post(Msg::kActivateApp, 0);
    app.ReplayAll();
    EXPECT_FALSE(app.hasFocus);
    EXPECT_TRUE(app.IsMuted());
    EXPECT_FALSE(app.GetWidgetManager()->IsKeyDown('Q'));
    EXPECT_FALSE(app.hp.window->captured);
    ASSERT_FALSE(app.musicVolumes.empty());
    EXPECT_EQ(app.musicVolumes.back(), 0.0);
    app.Post(Msg::kActivateApp, 1);
    app.ReplayAll();
    EXPECT_TRUE(app.hasFocus);
    EXPECT_FALSE(app.IsMuted());
    EXPECT_EQ(app.musicVolumes.back(), 0.85);
}

TEST(WindowEvents, MinimisedWindowSkipsTheWidgetUpdateButKeepsCounting) {
    TestApp app;
    app.InitAndLoad();
    app.Post(Msg::kSize, Msg::kSizeMinimized);
    app.ReplayAll();
    EXPECT_TRUE(app.minimised);
    EXPECT_FALSE(app.hasFocus);
    const int widgetUpdates = app.GetWidgetManager()->UpdateCount();
    app.RunFor(100);
    EXPECT_EQ(app.GetWidgetManager()->UpdateCount(), widgetUpdates);
    EXPECT_GE(app.totalUpdates, 9);
    app.Post(Msg::kSize, Msg::kSizeRestored);
    app.ReplayAll();
    EXPECT_TRUE(app.hasFocus);
    EXPECT_FALSE(app.IsMuted());
}

}  // namespace

namespace {

TEST(ScreenSaverMode, EndsOnAKeyOrTheFourthMouseMove) {
    TestApp keys;
    keys.SetCommandLineText("kelvane -screensaver");
    keys.InitAndLoad();
    EXPECT_FALSE(keys.windowed);
    EXPECT_EQ(keys.cursorId, 11);
    keys.Post(Msg::kKeyDown, 'A');
    keys.ReplayAll();
    EXPECT_TRUE(keys.IsShutDown());

    TestApp moves;
    moves.SetCommandLineText("kelvane -screensaver");
    moves.InitAndLoad();
    for (int i = 0; i < 3; ++i) moves.Post(Msg::kMouseMove, 0, Msg::PackPoint(i, i));
    moves.Post(Msg::kMouseMove, 0, Msg::PackPoint(2, 2));  // not a move
    moves.ReplayAll();
    EXPECT_FALSE(moves.IsShutDown());
    moves.Post(Msg::kMouseMove, 0, Msg::PackPoint(9, 9));
    moves.ReplayAll();
    EXPECT_TRUE(moves.IsShutDown());
}

}  // namespace

namespace {

TEST(Cursors, SystemCursorUnlessACustomImageIsEnabledOrTheIdAsksForIt) {
    TestApp app;
    app.InitAndLoad();
    HeadlessWindow& w = *app.hp.window;
    MemoryImage picture(nullptr);
    picture.Create(2, 2);
    MemoryImage* const kImage = &picture;
    app.SetCursorId(3);
    EXPECT_EQ(w.systemCursor, 0);  // the mouse is not in the window yet: arrow
    app.Post(Msg::kMouseMove, 0, Msg::PackPoint(1, 1));
    app.ReplayAll();
    EXPECT_EQ(w.systemCursor, 3);
    app.SetCustomCursorImage(3, kImage);
    EXPECT_EQ(w.systemCursor, 3);  // custom cursors are off
    EXPECT_FALSE(app.GetDisplay()->HasCursorImage());
    app.EnableCustomCursors(true);
    EXPECT_EQ(w.systemCursor, 12);  // system cursor hidden, the image is drawn instead
    EXPECT_TRUE(app.GetDisplay()->HasCursorImage());
    EXPECT_TRUE(app.cursorRedrawPending);
    app.EnableCustomCursors(false);
    app.SetCustomCursorImage(12, kImage);
    app.SetCursorId(12);  // an image-only cursor needs no switch
    EXPECT_TRUE(app.GetDisplay()->HasCursorImage());
    app.SetCursorId(1);
    EXPECT_EQ(w.systemCursor, 1);
    EXPECT_FALSE(app.GetDisplay()->HasCursorImage());
}

}  // namespace

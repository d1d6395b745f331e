// The software cursor and the override cursor, through the application on the headless display.
#include <gtest/gtest.h>

#include "TestApp.h"
#include "graphics/MemoryImage.h"

using namespace Zarvo;
using ZarvoTest::TestApp;

namespace {

constexpr uint32_t kRed = 0xFFFF0000u;

// A solid square picture of one colour.
void Fill(MemoryImage& image, int size, uint32_t color) {
    image.Create(size, size);
    uint32_t* bits = image.GetBits();
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) bits[y * image.GetPitch() + x] = color;
    }
}

uint32_t Shown(TestApp& app, int x, int y) {
    const HeadlessDisplay& d = *app.hp.display;
    return d.presentedFrame.at(static_cast<size_t>(y) * d.Width() + x);
}

// Steps the loop until the display has presented once more.
void UntilPresented(TestApp& app) {
    const int before = app.hp.display->presentCount;
    for (int i = 0; i < 1000 && app.hp.display->presentCount == before; ++i) app.LoopStep();
    ASSERT_GT(app.hp.display->presentCount, before);
}

TEST(SoftwareCursor, ItsPictureIsDrawnOverEachPresentedFrameAndFollowsTheCursorThread) {
    TestApp app;
    app.InitAndLoad();
    app.hp.window->cursorInside = true;  // for the window's own mouse-in checks
    MemoryImage arrow(nullptr);
    Fill(arrow, 4, kRed);
    app.SetCustomCursorImage(0, &arrow, 1, 1);
    app.EnableCustomCursors(true);
    app.Post(Msg::kMouseMove, 0, Msg::PackPoint(10, 10));
    app.ReplayAll();
    ASSERT_TRUE(app.GetDisplay()->HasCursorImage());
    EXPECT_EQ(app.hp.window->systemCursor, 12);  // the system cursor hides behind the picture

    app.GetDisplay()->MoveCursorNow(10, 10);  // what the cursor thread does
    UntilPresented(app);
    EXPECT_EQ(Shown(app, 9, 9), kRed);  // the hot spot (1, 1) sits at the cursor
    EXPECT_EQ(Shown(app, 12, 12), kRed);
    EXPECT_NE(Shown(app, 13, 13), kRed);
    EXPECT_NE(Shown(app, 8, 9), kRed);
    EXPECT_NE(app.GetDisplay()->BackBuffer()[10 * 640 + 10], kRed);  // the frame stays clean

    // Nothing else changes on screen, yet the moved cursor is presented again at once.
    app.GetDisplay()->MoveCursorNow(100, 50);
    UntilPresented(app);
    EXPECT_EQ(Shown(app, 99, 49), kRed);
    EXPECT_NE(Shown(app, 10, 10), kRed);

    // At the screen's edge the picture is cut, not wrapped.
    app.GetDisplay()->MoveCursorNow(639, 0);
    UntilPresented(app);
    EXPECT_EQ(Shown(app, 638, 0), kRed);
    EXPECT_NE(Shown(app, 0, 1), kRed);

    app.EnableCustomCursors(false);
    EXPECT_FALSE(app.GetDisplay()->HasCursorImage());
    UntilPresented(app);  // dropping the picture is presented too
    EXPECT_NE(Shown(app, 638, 0), kRed);
    EXPECT_EQ(app.hp.window->systemCursor, 0);
}

TEST(SoftwareCursor, HalfTransparentPixelsBlendWithTheFrame) {
    TestApp app;
    app.InitAndLoad();
    app.hp.window->cursorInside = true;  // for the window's own mouse-in checks
    MemoryImage glass(nullptr);
    Fill(glass, 2, 0x80FFFFFFu);  // white at alpha 128 over the black frame
    app.SetCustomCursorImage(12, &glass);
    app.SetCursorId(12);
    app.Post(Msg::kMouseMove, 0, Msg::PackPoint(5, 5));
    app.ReplayAll();
    app.GetDisplay()->MoveCursorNow(5, 5);
    UntilPresented(app);
    EXPECT_EQ(Shown(app, 5, 5), 0xFF808080u);  // 255 x 128 / 255
}

TEST(OverrideCursor, WinsOverTheCursorTableButNotOverACustomPicture) {
    TestApp app;
    app.InitAndLoad();
    app.hp.window->cursorInside = true;  // for the window's own mouse-in checks
    HeadlessWindow& w = *app.hp.window;
    app.Post(Msg::kMouseMove, 0, Msg::PackPoint(1, 1));
    app.ReplayAll();
    app.SetCursorId(3);
    EXPECT_EQ(w.systemCursor, 3);
    app.SetOverrideCursor(10);  // the wait cursor for the whole application
    EXPECT_EQ(w.systemCursor, 10);
    app.SetCursorId(1);
    EXPECT_EQ(w.systemCursor, 10);
    MemoryImage hand(nullptr);
    Fill(hand, 2, kRed);
    app.SetCustomCursorImage(1, &hand);
    app.EnableCustomCursors(true);
    EXPECT_EQ(w.systemCursor, 12);
    EXPECT_TRUE(app.GetDisplay()->HasCursorImage());
    app.EnableCustomCursors(false);
    EXPECT_EQ(w.systemCursor, 10);
    app.SetOverrideCursor(-1);
    EXPECT_EQ(w.systemCursor, 1);
}

}  // namespace

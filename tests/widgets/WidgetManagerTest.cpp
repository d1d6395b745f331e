#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "TestWidget.h"
#include "platform/Letterbox.h"
#include "widgets/WidgetManager.h"

namespace Zarvo::test {
namespace {

using Log = std::vector<std::string>;

class WidgetManagerTest : public ::testing::Test {
protected:
    WidgetManager manager{nullptr};
    Log log;

    void SetUp() override { manager.SetMouseTransform(Rect(0, 0, 640, 480), Rect(0, 0, 640, 480)); }
    // Returns the events logged since the last call.
    Log Take() {
        Log taken;
        taken.swap(log);
        return taken;
    }
};

TEST_F(WidgetManagerTest, DragOffButtonAndBackThenReleaseOutside) {
    TestWidget button("B", &log, 100, 100, 50, 20);
    TestWidget other("O", &log, 300, 100, 50, 20);
    manager.AddChild(&button);
    manager.AddChild(&other);

    manager.PointerMoved(110, 105);
    manager.PointerPressed(110, 105, 1);
    EXPECT_EQ(Take(), (Log{"B:enter", "B:move 10,5", "B:down 10,5 b0 c1"}));
    EXPECT_TRUE(button.isDown);

    manager.PointerMoved(200, 105);  // off the button
    EXPECT_EQ(Take(), (Log{"B:drag 100,5", "B:leave"}));
    EXPECT_FALSE(button.isOver);

    manager.PointerMoved(120, 105);  // back on it
    EXPECT_EQ(Take(), (Log{"B:drag 20,5", "B:enter"}));
    EXPECT_TRUE(button.isOver);

    manager.PointerMoved(310, 105);  // over the other widget: it stays untouched while dragging
    EXPECT_EQ(Take(), (Log{"B:drag 210,5", "B:leave"}));

    manager.PointerReleased(310, 105, 1);
    EXPECT_EQ(Take(), (Log{"B:up 210,5 b0 c1", "O:enter", "O:move 10,5"}));
    EXPECT_FALSE(button.isDown);
    EXPECT_EQ(manager.lastDownWidget, nullptr);
    EXPECT_EQ(manager.overWidget, &other);
}

// A button whose click runs the loop (opens a modal dialog and waits for its answer): while it
// waits, the pointer moves on to another widget.
TEST_F(WidgetManagerTest, ReleaseHandlerThatRanTheLoopLeavesTheHoverWhereThePointerIsNow) {
    struct WaitingButton : TestWidget {
        using TestWidget::TestWidget;
        std::function<void()> whileWaiting;
        void OnMouseButtonUp(int mx, int my, int button, int clicks) override {
            TestWidget::OnMouseButtonUp(mx, my, button, clicks);
            whileWaiting();
        }
    };
    WaitingButton button("B", &log, 100, 100, 50, 20);
    TestWidget other("O", &log, 300, 100, 50, 20);
    manager.AddChild(&button);
    manager.AddChild(&other);
    button.whileWaiting = [&] { manager.PointerMoved(310, 105); };

    manager.PointerMoved(110, 105);
    manager.PointerPressed(110, 105, 1);
    Take();
    manager.PointerReleased(110, 105, 1);
    EXPECT_EQ(Take(), (Log{"B:up 10,5 b0 c1", "B:leave", "O:enter", "O:move 10,5"}));
    EXPECT_FALSE(button.isOver);
    EXPECT_FALSE(button.isDown);
    EXPECT_EQ(manager.overWidget, &other);
}

TEST_F(WidgetManagerTest, RightPressWhileLeftHeldGoesToTheHoldingWidget) {
    TestWidget a("A", &log, 0, 0, 100, 100);
    TestWidget b("B", &log, 200, 0, 100, 100);
    manager.AddChild(&a);
    manager.AddChild(&b);

    manager.PointerMoved(50, 50);
    manager.PointerPressed(50, 50, 1);
    manager.PointerMoved(250, 50);
    Take();

    manager.PointerPressed(250, 50, -1);
    Log events = Take();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back(), "A:down 250,50 b1 c1");
    EXPECT_EQ(manager.downButtons,
              WidgetManager::kDownButtonLeft | WidgetManager::kDownButtonRight);
    EXPECT_EQ(manager.lastDownButtonId, -1);

    manager.PointerReleased(250, 50, -1);
    EXPECT_EQ(Take(), (Log{"A:up 250,50 b1 c1"}));
    EXPECT_EQ(manager.lastDownWidget, &a);  // the left button still holds it

    manager.PointerReleased(250, 50, 1);
    EXPECT_EQ(Take(), (Log{"A:up 250,50 b0 c1"}));
    EXPECT_EQ(manager.lastDownWidget, nullptr);
    EXPECT_EQ(manager.downButtons, 0);
}

TEST_F(WidgetManagerTest, PressOnEmptySpaceDoesNotTurnLaterMovesIntoDrags) {
    TestWidget a("A", &log, 100, 100, 50, 50);
    manager.AddChild(&a);

    manager.PointerMoved(10, 10);
    manager.PointerPressed(10, 10, 1);
    manager.PointerReleased(10, 10, 1);
    manager.PointerMoved(110, 110);
    EXPECT_EQ(Take(), (Log{"A:enter", "A:move 10,10"}));
    EXPECT_EQ(manager.downButtons, 0);
    EXPECT_EQ(manager.actualDownButtons, 0);
}

TEST_F(WidgetManagerTest, NestedWidgetGetsOwnCoordinates) {
    TestWidget panel("P", &log, 100, 100, 200, 200);
    TestWidget child("C", &log, 10, 10, 50, 50);
    panel.AddChild(&child);
    manager.AddChild(&panel);

    manager.PointerMoved(115, 120);
    manager.PointerPressed(115, 120, 2);
    manager.PointerMoved(120, 130);
    manager.PointerReleased(120, 130, 1);
    EXPECT_EQ(Take(), (Log{"C:enter", "C:move 5,10", "C:down 5,10 b0 c2", "C:drag 10,20",
                           "C:up 10,20 b0 c1"}));
}

TEST_F(WidgetManagerTest, ModalLayerBlocksWidgetsBelowAndRestoresFocus) {
    TestWidget field("F", &log, 0, 0, 200, 200);
    field.wantsFocus = true;
    TestWidget dialog("D", &log, 300, 0, 200, 200);
    TestWidget ok("K", &log, 10, 10, 50, 20);
    ok.wantsFocus = true;
    dialog.AddChild(&ok);
    manager.AddChild(&field);

    manager.PointerMoved(50, 50);
    manager.PointerPressed(50, 50, 1);
    manager.PointerReleased(50, 50, 1);
    EXPECT_EQ(manager.focusWidget, &field);
    Take();

    manager.AddChild(&dialog);
    manager.AddModalLayer(&dialog);
    EXPECT_EQ(Take(), (Log{"F:leave", "F:lostfocus"}));
    EXPECT_EQ(manager.focusWidget, nullptr);

    // Clicks below the dialog find nothing.
    manager.PointerMoved(60, 60);
    manager.PointerPressed(60, 60, 1);
    manager.PointerReleased(60, 60, 1);
    EXPECT_EQ(Take(), Log{});
    EXPECT_EQ(manager.FindWidgetAt(60, 60), nullptr);

    // The dialog's button takes the focus and gets the keys.
    manager.PointerMoved(315, 15);
    manager.PointerPressed(315, 15, 1);
    manager.PointerReleased(315, 15, 1);
    manager.KeyPressed(65);
    Log events = Take();
    EXPECT_EQ(events.back(), "K:keydown 65");
    EXPECT_EQ(manager.focusWidget, &ok);

    // Closing the dialog gives the focus back.
    manager.RemoveChild(&dialog);
    manager.RemoveModalLayer(&dialog);
    EXPECT_EQ(Take(), (Log{"K:leave", "K:lostfocus", "F:gotfocus"}));
    EXPECT_EQ(manager.focusWidget, &field);
    EXPECT_EQ(manager.baseModalWidget, nullptr);
    EXPECT_TRUE(manager.modalRecords.empty());

    manager.KeyPressed(66);
    manager.PointerMoved(70, 70);
    EXPECT_EQ(Take(), (Log{"F:keydown 66", "F:enter", "F:move 70,70"}));
}

TEST_F(WidgetManagerTest, RemovingAnOuterLayerWhoseBaseLeftUnwindsBoth) {
    TestWidget field("F", &log, 0, 0, 100, 100);
    TestWidget first("L1", &log, 200, 0, 100, 100);
    TestWidget second("L2", &log, 400, 0, 100, 100);
    manager.AddChild(&field);
    manager.GiveFocus(&field);
    manager.AddChild(&first);
    manager.AddModalLayer(&first);
    manager.AddChild(&second);
    manager.AddModalLayer(&second);

    // The first layer's widget goes away while the second layer is open.
    manager.RemoveChild(&first);
    manager.RemoveChild(&second);
    manager.RemoveModalLayer(&second);
    EXPECT_TRUE(manager.modalRecords.empty());
    EXPECT_EQ(manager.baseModalWidget, nullptr);
    EXPECT_EQ(manager.focusWidget, &field);
}

TEST_F(WidgetManagerTest, RemoveModalLayerOfAnotherWidgetDoesNothing) {
#ifndef NDEBUG
    GTEST_SKIP() << "a debug build asserts on this mistake";
#endif
    TestWidget layer("L", &log, 0, 0, 100, 100);
    TestWidget stranger("S", &log, 200, 0, 100, 100);
    manager.AddChild(&layer);
    manager.AddChild(&stranger);
    manager.AddModalLayer(&layer);
    manager.RemoveModalLayer(&stranger);
    EXPECT_EQ(manager.baseModalWidget, &layer);
    EXPECT_EQ(manager.modalRecords.size(), 1u);
}

TEST_F(WidgetManagerTest, HeldKeyGetsKeyUpWhenWindowLosesFocus) {
    TestWidget a("A", &log, 0, 0, 10, 10);
    manager.AddChild(&a);
    manager.GiveFocus(&a);
    manager.KeyPressed(65);
    Take();

    manager.WindowLostFocus();
    EXPECT_EQ(Take(), (Log{"A:keyup 65", "A:lostfocus"}));
    EXPECT_FALSE(manager.IsKeyDown(65));
    manager.WindowLostFocus();
    EXPECT_EQ(Take(), Log{});

    manager.WindowGotFocus();
    EXPECT_EQ(Take(), (Log{"A:gotfocus"}));
}

TEST_F(WidgetManagerTest, TabShiftTabAndCtrlTab) {
    TestWidget a("A", &log, 0, 0, 10, 10);
    TestWidget b("B", &log, 20, 0, 10, 10);
    TestWidget d("D", &log, 40, 0, 10, 10);
    a.tabNext = &b;
    b.tabPrev = &a;
    for (TestWidget* w : {&a, &b, &d}) manager.AddChild(w);
    manager.defaultTab = &d;
    manager.GiveFocus(&a);
    Take();

    manager.KeyPressed(9);
    manager.KeyReleased(9);
    EXPECT_EQ(Take(), (Log{"A:keydown 9", "A:lostfocus", "B:gotfocus", "B:keyup 9"}));

    manager.KeyPressed(16);
    manager.KeyPressed(9);
    manager.KeyReleased(9);
    manager.KeyReleased(16);
    EXPECT_EQ(Take(), (Log{"B:keydown 16", "B:keydown 9", "B:lostfocus", "A:gotfocus", "A:keyup 9",
                           "A:keyup 16"}));

    // Ctrl+Tab: the Tab character goes to the default tab widget, and the Tab release is not
    // reported to the focus widget.
    manager.KeyPressed(17);
    Take();
    manager.CharTyped('\t');
    manager.KeyReleased(9);
    EXPECT_EQ(Take(), (Log{"D:char 9"}));
    manager.KeyReleased(17);
    manager.CharTyped('\t');
    EXPECT_EQ(Take(), (Log{"A:keyup 17", "A:char 9"}));
}

TEST_F(WidgetManagerTest, RejectedPointsAndMouseInsetsLetTheClickThrough) {
    TestWidget under("U", &log, 0, 0, 100, 100);
    TestWidget top("T", &log, 0, 0, 100, 100);
    top.hits = [](int hx, int) { return hx >= 50; };
    top.mouseInsets.bottom = 40;
    manager.AddChild(&under);
    manager.AddChild(&top);

    const struct {
        int px, py;
        const Widget* expected;
        WidgetPoint local;
    } cases[] = {
        {10, 10, &under, {10, 10}},  // HitsPoint rejects the left half of the top widget
        {60, 10, &top, {60, 10}},
        {60, 70, &under, {60, 70}},  // inside the top widget's bottom mouse inset
        {150, 10, nullptr, {}},
    };
    for (const auto& c : cases) {
        WidgetPoint local{-1, -1};
        EXPECT_EQ(manager.FindWidgetAt(c.px, c.py, &local), c.expected) << c.px << "," << c.py;
        if (c.expected != nullptr) {
            EXPECT_EQ(local, c.local);
        }
    }

    manager.PointerMoved(10, 10);
    manager.PointerPressed(10, 10, 1);
    EXPECT_EQ(Take().back(), "U:down 10,10 b0 c1");
}

TEST_F(WidgetManagerTest, MouseInvisibleWidgetPassesTheMouseButChildrenStillGetIt) {
    TestWidget panel("P", &log, 0, 0, 100, 100);
    TestWidget child("C", &log, 10, 10, 10, 10);
    panel.mouseVisible = false;
    panel.AddChild(&child);
    manager.AddChild(&panel);
    EXPECT_EQ(manager.FindWidgetAt(50, 50), nullptr);
    EXPECT_EQ(manager.FindWidgetAt(15, 15), &child);
}

TEST_F(WidgetManagerTest, RemovedPressedWidgetGetsItsMouseUpAndIsForgotten) {
    TestWidget a("A", &log, 0, 0, 100, 100);
    a.wantsFocus = true;
    manager.AddChild(&a);
    manager.PointerMoved(10, 20);
    manager.PointerPressed(10, 20, 1);
    manager.PointerPressed(10, 20, 3);
    Take();

    manager.RemoveChild(&a);
    EXPECT_EQ(Take(), (Log{"A:leave", "A:up 10,20 b0 c1", "A:up 10,20 b2 c1", "A:lostfocus"}));
    EXPECT_EQ(manager.overWidget, nullptr);
    EXPECT_EQ(manager.lastDownWidget, nullptr);
    EXPECT_EQ(manager.focusWidget, nullptr);
    EXPECT_EQ(manager.downButtons, 0);
    EXPECT_EQ(a.manager, nullptr);

    manager.PointerMoved(20, 20);
    manager.PointerReleased(20, 20, 1);
    manager.KeyPressed(65);
    EXPECT_EQ(Take(), Log{});
}

TEST_F(WidgetManagerTest, DisabledWidgetIsForgottenAndFoundAgainWhenEnabled) {
    TestWidget a("A", &log, 0, 0, 100, 100);
    manager.AddChild(&a);
    manager.PointerMoved(10, 10);
    Take();

    a.SetDisabledFlag(true);
    EXPECT_EQ(Take(), (Log{"A:leave"}));
    manager.PointerMoved(11, 11);
    manager.PointerPressed(11, 11, 1);
    EXPECT_EQ(Take(), Log{});

    manager.PointerReleased(11, 11, 1);
    a.SetDisabledFlag(false);
    EXPECT_EQ(Take(), (Log{"A:enter", "A:move 11,11"}));
}

TEST_F(WidgetManagerTest, DetachingASubtreeForgetsEveryDescendant) {
    TestWidget panel("P", &log, 0, 0, 100, 100);
    TestWidget child("C", &log, 10, 10, 20, 20);
    panel.AddChild(&child);
    manager.AddChild(&panel);
    manager.GiveFocus(&child);
    manager.PointerMoved(15, 15);
    manager.AddModalLayer(&child);
    Take();

    manager.RemoveChild(&panel);
    EXPECT_EQ(Take(), (Log{"C:leave", "C:lostfocus"}));
    EXPECT_EQ(manager.baseModalWidget, nullptr);
    EXPECT_EQ(manager.modalRecords.back().previousFocus, nullptr);
    EXPECT_EQ(child.manager, nullptr);
    EXPECT_EQ(child.parent, &panel);
}

TEST_F(WidgetManagerTest, PressOutsidePopupRemovesIt) {
    TestWidget popup("P", &log, 100, 100, 50, 50);
    manager.AddChild(&popup);
    manager.SetPopupCommandWidget(&popup);

    manager.PointerPressed(120, 120, 1);
    manager.PointerReleased(120, 120, 1);
    EXPECT_TRUE(manager.HasChild(&popup));

    manager.PointerPressed(10, 10, 1);
    EXPECT_FALSE(manager.HasChild(&popup));
    EXPECT_EQ(manager.popupCommandWidget, nullptr);
}

TEST_F(WidgetManagerTest, LeavingTheWindowSendsLeave) {
    TestWidget a("A", &log, 0, 0, 100, 100);
    manager.AddChild(&a);
    manager.PointerMoved(10, 10);
    Take();
    manager.PointerLeftWindow(-5, 10);
    EXPECT_EQ(Take(), (Log{"A:leave"}));
    EXPECT_FALSE(manager.mouseIn);
    // Without the mouse in the window, tree changes do not bring it back.
    a.SetBounds(0, 0, 120, 120);
    EXPECT_EQ(Take(), Log{});
}

TEST_F(WidgetManagerTest, WheelGoesToTheFocusWidget) {
    TestWidget a("A", &log, 0, 0, 100, 100);
    TestWidget b("B", &log, 200, 0, 100, 100);
    manager.AddChild(&a);
    manager.AddChild(&b);
    manager.GiveFocus(&b);
    manager.PointerMoved(10, 10);
    Take();
    manager.WheelTurned(-2);
    EXPECT_EQ(Take(), (Log{"B:wheel -2"}));
}

TEST_F(WidgetManagerTest, MouseTransformMapsWindowPointsAndSizesTheManager) {
    manager.SetMouseTransform(Rect(0, 0, 1280, 960), Rect(10, 20, 640, 480));
    EXPECT_EQ(manager.width, 660);
    EXPECT_EQ(manager.height, 520);
    EXPECT_EQ(manager.MapWindowPoint(100, 51), (WidgetPoint{60, 45}));
    EXPECT_EQ(manager.MapWindowPoint(-3, 0), (WidgetPoint{9, 20}));  // -1.5 truncates to -1
    manager.SetMouseTransform(Rect(5, 5, 0, 0), Rect(0, 0, 640, 480));
    EXPECT_EQ(manager.MapWindowPoint(7, 9), (WidgetPoint{2, 4}));
}

// The mouse transform of a letterboxed window: exact logical points at whole and odd scales,
// and the inverse that scripted input uses lands on the same logical point.
struct LetterboxMouseCase {
    int windowWidth, windowHeight;
    int windowX, windowY;    // a point on the picture
    int logicalX, logicalY;  // where it lands
    int backX, backY;        // MapLogicalPoint of that logical point
};

void PrintTo(const LetterboxMouseCase& c, std::ostream* os) {
    *os << c.windowWidth << "x" << c.windowHeight << " at " << c.windowX << "," << c.windowY;
}

class LetterboxMouse : public testing::TestWithParam<LetterboxMouseCase> {};

TEST_P(LetterboxMouse, MapsOntoTheLogicalScreenAndBack) {
    const LetterboxMouseCase& c = GetParam();
    WidgetManager manager(nullptr);
    const PlatformRect picture = Letterbox::Fit(c.windowWidth, c.windowHeight, 640, 480);
    manager.SetMouseTransform(Rect(picture.x, picture.y, picture.width, picture.height),
                              Rect(0, 0, 640, 480));
    EXPECT_EQ(manager.width, 640);
    EXPECT_EQ(manager.height, 480);
    EXPECT_EQ(manager.MapWindowPoint(c.windowX, c.windowY), (WidgetPoint{c.logicalX, c.logicalY}));
    EXPECT_EQ(manager.MapLogicalPoint(c.logicalX, c.logicalY), (WidgetPoint{c.backX, c.backY}));
    // The picture's corners are the logical screen's corners.
    EXPECT_EQ(manager.MapWindowPoint(picture.x, picture.y), (WidgetPoint{0, 0}));
    const WidgetPoint last =
        manager.MapWindowPoint(picture.x + picture.width - 1, picture.y + picture.height - 1);
    EXPECT_EQ(last, (WidgetPoint{(picture.width - 1) * 640 / picture.width,
                                 (picture.height - 1) * 480 / picture.height}));
    // Every window pixel of the picture: its logical point, mapped back to the window and
    // forward again, is the same logical point.
    for (int y = picture.y; y < picture.y + picture.height; y += 7) {
        for (int x = picture.x; x < picture.x + picture.width; ++x) {
            const WidgetPoint p = manager.MapWindowPoint(x, y);
            const WidgetPoint w = manager.MapLogicalPoint(p.x, p.y);
            ASSERT_EQ(manager.MapWindowPoint(w.x, w.y), p) << x << "," << y;
        }
    }
    // Where the window is larger, every logical point is reached exactly.
    if (picture.width >= 640) {
        for (int lx = 0; lx < 640; ++lx) {
            const WidgetPoint w = manager.MapLogicalPoint(lx, lx * 3 / 4);
            ASSERT_EQ(manager.MapWindowPoint(w.x, w.y), (WidgetPoint{lx, lx * 3 / 4})) << lx;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    WindowSizes, LetterboxMouse,
    testing::Values(
        // Twice the size: window pixels 100 and 101 both show logical 50; the inverse picks
        // the first of the pair.
        LetterboxMouseCase{1280, 960, 101, 51, 50, 25, 100, 50},
        LetterboxMouseCase{1280, 960, 1279, 959, 639, 479, 1278, 958},
        // 1.25 times: logical 4 covers window 5 and 6 (5 * 0.8 = 4, 6 * 0.8 = 4.8).
        LetterboxMouseCase{800, 600, 6, 6, 4, 4, 5, 5},
        LetterboxMouseCase{800, 600, 799, 599, 639, 479, 799, 599},
        // 444 x 333 picture at x 278: smaller than the screen, so logical points are skipped.
        LetterboxMouseCase{1001, 333, 278 + 222, 166, 320, 239, 278 + 222, 166},
        LetterboxMouseCase{1001, 333, 278 + 443, 332, 638, 478, 278 + 443, 332},
        // On a black bar the point lies off the logical screen.
        LetterboxMouseCase{1001, 333, 10, 0, -386, 0, 10, 0}),
    [](const testing::TestParamInfo<LetterboxMouseCase>& info) {
        const LetterboxMouseCase& c = info.param;
        return std::to_string(c.windowWidth) + "x" + std::to_string(c.windowHeight) + "_at_" +
               std::to_string(c.windowX) + "_" + std::to_string(c.windowY);
    });

TEST_F(WidgetManagerTest, WindowWithoutFocusUsesTheLostFocusModifier) {
    TestWidget a("A", &log, 0, 0, 100, 100);
    manager.AddChild(&a);
    manager.lostFocusFlagsMod = FlagsMod{0, kWidgetFlagAllowMouse};
    manager.WindowLostFocus();
    EXPECT_EQ(manager.FindWidgetAt(10, 10), nullptr);
    manager.WindowGotFocus();
    EXPECT_EQ(manager.FindWidgetAt(10, 10), &a);
}

TEST_F(WidgetManagerTest, TreeChangesReevaluateTheMouse) {
    TestWidget a("A", &log, 0, 0, 10, 10), b("B", &log, 100, 100, 10, 10);
    manager.PointerMoved(5, 5);
    manager.AddChild(&a);  // added under the mouse
    EXPECT_EQ(Take(), (Log{"A:enter", "A:move 5,5"}));

    manager.AddChild(&b);
    b.MoveTo(0, 0);  // moved over the mouse, on top of A
    EXPECT_EQ(Take(), (Log{"A:leave", "B:enter", "B:move 5,5"}));

    b.Show(false);
    EXPECT_EQ(Take(), (Log{"B:leave", "A:enter", "A:move 5,5"}));

    // While a button is held, a change only takes the hover away from the pressed widget.
    manager.PointerPressed(5, 5, 1);
    b.Show(true);
    EXPECT_EQ(Take(), (Log{"A:down 5,5 b0 c1", "A:leave"}));
    EXPECT_EQ(manager.overWidget, nullptr);
}

}  // namespace
}  // namespace Zarvo::test

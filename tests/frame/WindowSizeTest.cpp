// A window the player resizes: the mouse follows the scaled picture, and the size is kept for
// the next run.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "TestApp.h"

using namespace Zarvo;
using ZarvoTest::TestApp;

namespace {

// Remembers where it was pressed, in its own coordinates.
class PressTarget : public Widget {
public:
    void OnMouseDown(int x, int y, int clickCount) override {
        pressedX = x;
        pressedY = y;
        clicks = clickCount;
    }
    int pressedX = -1, pressedY = -1, clicks = 0;
};

struct ResizeCase {
    int width, height;
    int windowX, windowY;    // a click here ...
    int logicalX, logicalY;  // ... lands here on the 640 x 480 screen
};

void PrintTo(const ResizeCase& c, std::ostream* os) {
    *os << c.width << "x" << c.height;
}

class WindowResize : public testing::TestWithParam<ResizeCase> {};

TEST_P(WindowResize, AClickLandsWhereThePictureShowsIt) {
    const ResizeCase& c = GetParam();
    TestApp app;
    app.InitAndLoad();
    PressTarget target;
    target.SetBounds(0, 0, 640, 480);
    app.GetWidgetManager()->AddChild(&target);

    app.hp.window->Resize(c.width, c.height);
    app.RunFor(20);
    WidgetManager& manager = *app.GetWidgetManager();
    EXPECT_EQ(manager.MapWindowPoint(c.windowX, c.windowY), (WidgetPoint{c.logicalX, c.logicalY}));
    app.Post(Msg::kLButtonDown, Msg::kButtonLeft, Msg::PackPoint(c.windowX, c.windowY));
    app.ReplayAll();
    EXPECT_EQ(target.pressedX, c.logicalX);
    EXPECT_EQ(target.pressedY, c.logicalY);
    EXPECT_EQ(target.clicks, 1);
    // Scripted input goes the other way and arrives at the same point.
    const WidgetPoint back = manager.MapLogicalPoint(c.logicalX, c.logicalY);
    EXPECT_EQ(manager.MapWindowPoint(back.x, back.y), (WidgetPoint{c.logicalX, c.logicalY}));
    app.GetWidgetManager()->RemoveChild(&target);
}

INSTANTIATE_TEST_SUITE_P(Sizes, WindowResize,
                         testing::Values(ResizeCase{640, 480, 321, 17, 321, 17},
                                         ResizeCase{1280, 960, 641, 35, 320, 17},
                                         ResizeCase{800, 600, 401, 22, 320, 17},
                                         // 444 x 333 picture, 278 pixels of black bar on the left
                                         ResizeCase{1001, 333, 500, 12, 320, 17}),
                         [](const testing::TestParamInfo<ResizeCase>& info) {
                             return std::to_string(info.param.width) + "x" +
                                    std::to_string(info.param.height);
                         });

TEST(WindowSize, IsRememberedAndUsedWhenItFitsTheDesktop) {
    {
        TestApp app;
        app.registryKey = "K";
        app.InitAndLoad();
        app.hp.window->visible = true;
        app.hp.window->Resize(1001, 333);
        app.RunFor(20);
        app.SaveSettings();
        int w = 0, h = 0;
        EXPECT_TRUE(app.ReadInteger("WindowWidth", w));
        EXPECT_TRUE(app.ReadInteger("WindowHeight", h));
        EXPECT_EQ(w, 1001);
        EXPECT_EQ(h, 333);
    }
    // The settings store of this platform lives with each application: copy the values over.
    TestApp next;
    next.registryKey = "K";
    next.WriteInteger("WindowWidth", 1001);
    next.WriteInteger("WindowHeight", 333);
    next.InitAndLoad();
    EXPECT_EQ(next.hp.window->placement.clientWidth, 1001);
    EXPECT_EQ(next.hp.window->placement.clientHeight, 333);
    EXPECT_EQ(next.hp.window->placement.screenWidth, 640);
    EXPECT_EQ(next.GetWidgetManager()->MapWindowPoint(278 + 444 - 1, 332), (WidgetPoint{638, 478}));
}

TEST(WindowSize, ASizeThatNoLongerFitsOrMakesNoSenseIsIgnored) {
    const int sizes[][2] = {{4000, 3000}, {10, 10}, {-640, 480}};
    for (const auto& size : sizes) {
        TestApp app;
        app.registryKey = "K";
        app.WriteInteger("WindowWidth", size[0]);
        app.WriteInteger("WindowHeight", size[1]);
        app.InitAndLoad();
        EXPECT_EQ(app.hp.window->placement.clientWidth, 640) << size[0];
        EXPECT_EQ(app.hp.window->placement.clientHeight, 480) << size[0];
    }
}

}  // namespace

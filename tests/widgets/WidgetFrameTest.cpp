// The application frame driving a real widget tree: window messages reach a widget through the
// deferred-message replay, and the draw step paints the tree into the display's back buffer.
#include <gtest/gtest.h>

#include "frame/TestApp.h"
#include "graphics/Graphics.h"
#include "platform/WindowMessage.h"
#include "widgets/Widget.h"
#include "widgets/WidgetManager.h"

namespace {

using namespace Zarvo;

constexpr uint32_t kBlack = 0xFF000000u;
constexpr uint32_t kNormal = 0xFF404040u;
constexpr uint32_t kHover = 0xFF8080FFu;
constexpr uint32_t kPressed = 0xFF2020A0u;

class Backdrop : public Widget {
public:
    Backdrop() { SetBounds(0, 0, 640, 480); }
    void DrawSelf(Graphics* g) override {
        g->SetColor(Color::FromInt(kBlack));
        g->FillRect(0, 0, width, height);
    }
};

// A button that shows hover and press and can be dragged around.
class DragButton : public Widget {
public:
    int grabX = 0;
    int grabY = 0;
    DragButton() {
        SetBounds(100, 100, 80, 40);
        doFinger = true;
    }
    void DrawSelf(Graphics* g) override {
        g->SetColor(Color::FromInt(isDown ? kPressed : isOver ? kHover : kNormal));
        g->FillRect(0, 0, width, height);
    }
    void OnMouseEnter() override { Invalidate(); }
    void OnMouseLeave() override { Invalidate(); }
    void OnMouseButtonDown(int mx, int my, int, int) override {
        grabX = mx;
        grabY = my;
        Invalidate();
    }
    void OnMouseButtonUp(int, int, int, int) override { Invalidate(); }
    void OnMouseDrag(int mx, int my) override { MoveTo(x + mx - grabX, y + my - grabY); }
};

class WidgetFrameTest : public ::testing::Test {
protected:
    ZarvoTest::TestApp app;
    Backdrop backdrop;
    DragButton button;

    void SetUp() override {
        app.InitAndLoad();
        WidgetManager* m = app.GetWidgetManager();
        m->RemoveChild(&app.screen);
        m->AddChild(&backdrop);
        m->AddChild(&button);
        app.RunFor(50);
    }
    void Mouse(uint32_t message, int mx, int my, uint64_t held) {
        app.hp.window->Post(
            WindowMessage{WindowMessage::kMainWindow, message, held, Msg::PackPoint(mx, my)});
        app.RunFor(30);
    }
    uint32_t Pixel(int px, int py) {
        DisplayBackend* d = app.GetDisplay();
        return d->BackBuffer()[static_cast<size_t>(py) * d->Width() + px];
    }
};

TEST_F(WidgetFrameTest, HoverPressAndDragReachTheWidgetAndTheScreen) {
    EXPECT_EQ(Pixel(120, 120), kNormal);
    EXPECT_EQ(Pixel(99, 120), kBlack);

    Mouse(Msg::kMouseMove, 120, 120, 0);
    EXPECT_TRUE(button.isOver);
    EXPECT_EQ(Pixel(120, 120), kHover);
    EXPECT_EQ(app.cursorId, 1);  // the hand over a widget that asks for it

    Mouse(Msg::kLButtonDown, 120, 120, Msg::kButtonLeft);
    EXPECT_EQ(Pixel(120, 120), kPressed);

    Mouse(Msg::kMouseMove, 150, 130, Msg::kButtonLeft);
    EXPECT_EQ(button.Bounds(), Rect(130, 110, 80, 40));
    EXPECT_EQ(Pixel(105, 105), kBlack);  // the place it left is repainted
    EXPECT_EQ(Pixel(205, 145), kPressed);

    Mouse(Msg::kLButtonUp, 150, 130, 0);
    EXPECT_FALSE(button.isDown);
    EXPECT_EQ(Pixel(205, 145), kHover);

    Mouse(Msg::kMouseMove, 400, 400, 0);
    EXPECT_FALSE(button.isOver);
    EXPECT_EQ(Pixel(205, 145), kNormal);
    EXPECT_EQ(app.cursorId, 0);
}

}  // namespace

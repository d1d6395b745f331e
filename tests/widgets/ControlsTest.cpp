#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graphics/Graphics.h"
#include "graphics/MemoryImage.h"
#include "widgets/ButtonListener.h"
#include "widgets/ButtonWidget.h"
#include "widgets/Checkbox.h"
#include "widgets/CheckboxListener.h"
#include "widgets/WidgetManager.h"

namespace Zarvo {
namespace {

class Recorder : public ButtonListener, public CheckboxListener {
public:
    std::vector<std::string> events;
    void ButtonPress(int id, int clicks) override {
        events.push_back("press " + std::to_string(id) + " " + std::to_string(clicks));
    }
    void ButtonDepress(int id) override { events.push_back("depress " + std::to_string(id)); }
    void CheckboxChecked(int id, bool checked) override {
        events.push_back("checked " + std::to_string(id) + (checked ? " on" : " off"));
    }
    bool Has(const std::string& e) const {
        return std::find(events.begin(), events.end(), e) != events.end();
    }
};

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        manager.width = 640;
        manager.height = 480;
        button.SetBounds(10, 10, 100, 30);
        manager.AddChild(&button);
    }
    void TearDown() override { manager.RemoveChild(&button); }

    WidgetManager manager{nullptr};
    Recorder recorder;
    ButtonWidget button{7, &recorder};
};

TEST_F(ControlsTest, PressDraggedOffAndReleasedIsNoClick) {
    manager.PointerMoved(20, 20);
    manager.PointerPressed(20, 20, 1);
    manager.PointerMoved(300, 300);
    manager.PointerReleased(300, 300, 1);
    EXPECT_TRUE(recorder.Has("press 7 1"));
    EXPECT_FALSE(recorder.Has("depress 7"));

    // Dragged off and back onto the button, the release is a click.
    manager.PointerMoved(20, 20);
    manager.PointerPressed(20, 20, 1);
    manager.PointerMoved(300, 300);
    manager.PointerMoved(30, 30);
    manager.PointerReleased(30, 30, 1);
    EXPECT_TRUE(recorder.Has("depress 7"));
}

TEST_F(ControlsTest, ReleaseWithoutWindowFocusIsNoClick) {
    manager.PointerMoved(20, 20);
    manager.PointerPressed(20, 20, -1);
    manager.WindowLostFocus();
    manager.PointerReleased(20, 20, -1);
    EXPECT_TRUE(recorder.Has("press 7 -1"));
    EXPECT_FALSE(recorder.Has("depress 7"));
}

TEST_F(ControlsTest, HighlightFadesInAndOutOverTenUpdates) {
    button.overAlphaFadeInSpeed = 0.1;
    button.overAlphaFadeOutSpeed = 0.1;
    manager.PointerMoved(20, 20);
    for (int i = 0; i < 9; ++i) manager.RunUpdatePass();
    EXPECT_LT(button.overAlpha, 1.0);
    manager.RunUpdatePass();
    EXPECT_EQ(button.overAlpha, 1.0);
    manager.RunUpdatePass();
    EXPECT_EQ(button.overAlpha, 1.0);

    manager.PointerMoved(300, 300);
    for (int i = 0; i < 9; ++i) manager.RunUpdatePass();
    EXPECT_GT(button.overAlpha, 0.0);
    manager.RunUpdatePass();
    EXPECT_EQ(button.overAlpha, 0.0);
}

TEST_F(ControlsTest, WithoutFadeSpeedsTheHighlightDropsAtOnce) {
    button.overAlpha = 0.5;
    manager.PointerMoved(20, 20);  // entering resets a stale highlight
    EXPECT_EQ(button.overAlpha, 0.0);
    button.overAlpha = 0.5;
    manager.PointerMoved(300, 300);
    EXPECT_EQ(button.overAlpha, 0.0);
}

TEST_F(ControlsTest, CheckboxTogglesOnAnyButton) {
    Checkbox box(nullptr, nullptr, 3, &recorder);
    box.SetBounds(200, 200, 20, 20);
    manager.AddChild(&box);
    manager.PointerPressed(205, 205, -1);
    manager.PointerReleased(205, 205, -1);
    EXPECT_TRUE(box.IsChecked());
    manager.PointerPressed(205, 205, 1);
    manager.PointerReleased(205, 205, 1);
    EXPECT_FALSE(box.IsChecked());
    EXPECT_EQ(recorder.events, (std::vector<std::string>{"checked 3 on", "checked 3 off"}));
    box.SetChecked(true, false);
    EXPECT_EQ(recorder.events.size(), 2u);
    manager.RemoveChild(&box);
}

TEST_F(ControlsTest, EmptyLabelMakesNoFontAndBevelFollowsPressState) {
    MemoryImage target(nullptr);
    target.Create(100, 30);
    Graphics g(&target);
    button.DrawSelf(&g);
    EXPECT_EQ(button.font, nullptr);
    // Not pressed: light top edge, dark bottom edge, face colour inside.
    const uint32_t* bits = target.GetBits();
    EXPECT_EQ(bits[0 * 100 + 5], 0xFFFFFFFFu);
    EXPECT_EQ(bits[29 * 100 + 5], 0xFF000000u);
    EXPECT_EQ(bits[28 * 100 + 5], 0xFF848484u);  // inner bottom bar, medium
    EXPECT_EQ(bits[15 * 100 + 50], 0xFFD4D4D4u);

    button.label = "Play";
    button.DrawSelf(&g);
    EXPECT_NE(button.font, nullptr);
}

}  // namespace
}  // namespace Zarvo

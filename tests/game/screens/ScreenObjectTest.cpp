// Screen objects: defaults, hit and hover rules, images and text, and the fade driven by the
// step timer, update by update.
#include "game/screens/ScreenObject.h"

#include <gtest/gtest.h>

#include "game/FakeGameResources.h"

namespace Kelvane {
namespace {

TEST(ScreenObjectTest, StartsWithItsDefaults) {
    ScreenObject object;
    EXPECT_EQ(object.x, -1.0f);
    EXPECT_EQ(object.y, -1.0f);
    EXPECT_EQ(object.width, -1.0f);
    EXPECT_EQ(object.height, -1.0f);
    EXPECT_EQ(object.id, -1);
    EXPECT_EQ(object.param, nullptr);
    EXPECT_FALSE(object.hasText);
    EXPECT_EQ(object.text, "error");
    EXPECT_FALSE(object.hasImage);
    EXPECT_EQ(object.imageId, 133);
    EXPECT_EQ(object.hoverImageId, 133);
    EXPECT_EQ(object.normalImageId, 133);
    EXPECT_EQ(object.fontId, 0);
    EXPECT_EQ(object.textColor, Zarvo::Color(255, 255, 255, 255));
    EXPECT_FALSE(object.celMode);
    EXPECT_EQ(object.cel, 0);
    EXPECT_TRUE(object.clickable);
    EXPECT_FALSE(object.fading);
    EXPECT_EQ(object.alpha, 255);
    ASSERT_NE(object.fader, nullptr);
    EXPECT_EQ(object.counterMode, -1);
    EXPECT_EQ(object.counter, 0.0f);
    EXPECT_FALSE(object.additiveOverlay);
    EXPECT_FALSE(object.naturalSize);
    EXPECT_FALSE(object.isHeld());

    const Fader& fader = *object.fader;
    EXPECT_FALSE(fader.fadingIn);
    EXPECT_FALSE(fader.fadingOut);
    EXPECT_EQ(fader.fadeInStep, 1);
    EXPECT_EQ(fader.fadeOutStep, 1);
    EXPECT_EQ(fader.holding, 0);
    EXPECT_EQ(fader.holdSteps, 1);
    const StepTimer& timer = *fader.timer;
    EXPECT_EQ(timer.counter, 0);
    EXPECT_EQ(timer.interval, 100);
    EXPECT_EQ(timer.value, 0);
    EXPECT_EQ(timer.limit, 10);
    EXPECT_EQ(timer.fullValue, 0);
    EXPECT_FALSE(timer.countDown);
    EXPECT_FALSE(timer.done);
}

ScreenObject* placed(ScreenObject& object, float x, float y, float w, float h) {
    object.x = x;
    object.y = y;
    object.width = w;
    object.height = h;
    return &object;
}

TEST(ScreenObjectTest, HitTestUsesTheHalfOpenRectangle) {
    ScreenObject object;
    placed(object, 10, 20, 30, 40);
    struct Case {
        int x, y;
        bool hit;
    };
    const Case cases[] = {{10, 20, true},  {39, 59, true}, {40, 20, false},
                          {10, 60, false}, {9, 30, false}, {20, 19, false}};
    for (const Case& c : cases) EXPECT_EQ(object.hitTest(c.x, c.y), c.hit) << c.x << "," << c.y;
    object.clickable = false;
    EXPECT_FALSE(object.hitTest(10, 20));
}

TEST(ScreenObjectTest, HoverShowsTheHoverImageAndRestoresOnlyIfStillShown) {
    ScreenObject object;
    placed(object, 0, 0, 10, 10);
    object.clickable = false;  // hover does not care
    object.imageId = 40;
    object.normalImageId = 40;
    object.hoverImageId = 41;
    EXPECT_TRUE(object.updateHover(5, 5));
    EXPECT_EQ(object.imageId, 41);
    EXPECT_FALSE(object.updateHover(50, 5));
    EXPECT_EQ(object.imageId, 40);

    EXPECT_TRUE(object.updateHover(5, 5));
    object.imageId = 42;  // changed meanwhile: kept when the mouse leaves
    EXPECT_FALSE(object.updateHover(50, 5));
    EXPECT_EQ(object.imageId, 42);

    ScreenObject plain;
    placed(plain, 0, 0, 10, 10);
    plain.imageId = 40;
    EXPECT_TRUE(plain.updateHover(1, 1));  // inside answers true without a hover image
    EXPECT_EQ(plain.imageId, 40);
}

TEST(ScreenObjectTest, SetImageTakesTheImageSizeAndSetTextMovesTheBaseline) {
    testing::FakeGameResources resources;
    resources.imageWidth = 80;
    resources.imageHeight = 30;
    ASSERT_TRUE(extractGameResources(resources));

    ScreenObject button;
    button.x = 20;
    button.y = 200;
    button.hoverImageId = 48;
    button.setImage(Res::IMAGE_EXIT_BUTTON);
    EXPECT_TRUE(button.hasImage);
    EXPECT_TRUE(button.naturalSize);
    EXPECT_EQ(button.imageId, 37);
    EXPECT_EQ(button.width, 80.0f);
    EXPECT_EQ(button.height, 30.0f);
    EXPECT_EQ(button.hoverImageId, 48);
    button.setText("Go", 3);
    EXPECT_TRUE(button.hasText);
    EXPECT_EQ(button.text, "Go");
    EXPECT_EQ(button.fontId, 3);
    EXPECT_EQ(button.y, 230.0f);

    ScreenObject label;
    label.y = 100;
    label.setText("x", 0);
    EXPECT_EQ(label.y, 99.0f);  // no image: the height is still -1
    clearResourceIds();
}

TEST(ScreenObjectTest, SplashFadeRunsInHoldsAndOutOnTheExpectedUpdates) {
    ScreenObject object;
    object.startFade(10, true, 5, true, 2, true, 300);
    object.alpha = 0;
    ASSERT_TRUE(object.fading);
    std::vector<int> changes;  // the updates on which alpha changed
    int fadeInEnd = 0, holdEnd = 0, fadeOutEnd = 0;
    for (int update = 1; update <= 600; ++update) {
        const int before = object.alpha;
        object.update();
        if (object.alpha != before) changes.push_back(update);
        if (!fadeInEnd && !object.fader->fadingIn) fadeInEnd = update;
        if (!holdEnd && !object.fader->holding) holdEnd = update;
        if (!fadeOutEnd && !object.fader->fadingOut) fadeOutEnd = update;
    }
    ASSERT_GE(changes.size(), 11u);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(changes[i], 12 + 11 * i) << i;
    EXPECT_EQ(changes[10], 112);
    EXPECT_EQ(fadeInEnd, 153);
    EXPECT_EQ(holdEnd, 453);
    EXPECT_EQ(fadeOutEnd, 581);
    EXPECT_EQ(object.alpha, 0);
}

TEST(ScreenObjectTest, FaderClampsAtTheEndsOfItsPhases) {
    Fader fader;
    fader.configure(0, true, 200, true, 200, false, 0);
    fader.timer->done = true;  // every call is a step
    EXPECT_EQ(fader.step(0), 200);
    EXPECT_EQ(fader.step(200), 255);
    EXPECT_FALSE(fader.fadingIn);
    EXPECT_EQ(fader.step(255), 55);
    EXPECT_EQ(fader.step(55), 0);
    EXPECT_FALSE(fader.fadingOut);
    EXPECT_EQ(fader.step(0), 0);
}

TEST(ScreenObjectTest, StepTimerCountsDownToBelowOne) {
    StepTimer timer;
    timer.interval = 2;
    timer.countDown = true;
    timer.value = 2;
    std::vector<int> steps;
    for (int call = 1; call <= 10; ++call)
        if (timer.tick()) steps.push_back(call);
    // Steps on the 4th and 7th calls; done after the second, so every call is a step.
    EXPECT_EQ(steps, (std::vector<int>{4, 7, 8, 9, 10}));
    EXPECT_EQ(timer.value, 0);
    EXPECT_TRUE(timer.done);
}

TEST(ScreenObjectTest, CounterAdvancesOnlyInCounterMode) {
    ScreenObject object;
    object.update();
    EXPECT_EQ(object.counter, 0.0f);
    object.counterMode = 1;
    object.update();
    object.update();
    EXPECT_FLOAT_EQ(object.counter, 0.02f);
    DrawList list;
    object.addToDrawList(list);
    EXPECT_EQ(list, DrawList{&object});
}

}  // namespace
}  // namespace Kelvane

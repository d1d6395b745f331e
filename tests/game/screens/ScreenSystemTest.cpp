// Screens and the screen switcher: the object lists, click and hover dispatch, switching by
// number, and the two splash screens update by update.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "diagnostics/AllocationTracker.h"
#include "game/screens/GUISystem.h"
#include "game/screens/GameTestApp.h"
#include "game/screens/OrlendScreen.h"
#include "game/screens/Screen.h"
#include "game/screens/ScreenIds.h"
#include "game/screens/SplashScreen.h"

namespace Kelvane {
namespace {

// A screen that records the events it receives and how often it was entered.
class RecordingScreen : public Screen {
public:
    using Screen::Screen;
    std::vector<std::pair<int32_t, void*>> events;
    int entered = 0;
    void enter() override { ++entered; }
    void onEvent(int32_t id, void* param) override { events.emplace_back(id, param); }
};

ScreenObject* object(float x, float y, float w, float h, int32_t id) {
    auto* o = KNEW ScreenObject();
    o->x = x;
    o->y = y;
    o->width = w;
    o->height = h;
    o->id = id;
    return o;
}

class ScreenSystemTest : public ::testing::Test {
protected:
    testing::GameTestApp app;
    GUISystem gui{app};
};

TEST_F(ScreenSystemTest, EveryScreenStartsWithItsBackground) {
    RecordingScreen screen(app, gui);
    ASSERT_EQ(screen.permanentObjects.size(), 1u);
    ScreenObject* background = screen.findObject(OBJECT_BACKGROUND);
    ASSERT_EQ(background, screen.permanentObjects[0].get());
    EXPECT_EQ(background->x, 0.0f);
    EXPECT_EQ(background->y, 0.0f);
    EXPECT_EQ(background->width, 640.0f);
    EXPECT_EQ(background->height, 480.0f);
    EXPECT_FALSE(background->clickable);
    EXPECT_FALSE(background->hasImage);
    EXPECT_EQ(screen.findObject(12345), nullptr);
}

TEST_F(ScreenSystemTest, ClicksGoToTheFirstHitPermanentObjectsFirst) {
    RecordingScreen screen(app, gui);
    gui.makeCurrent(&screen, 77);
    int first = 0, second = 0, visit = 0;
    screen.addPermanent(object(10, 10, 50, 50, 5))->param = &first;
    screen.addPermanent(object(30, 30, 50, 50, 6))->param = &second;
    screen.addVisit(object(0, 0, 100, 100, 7))->param = &visit;
    ScreenObject* hidden = screen.addPermanent(object(200, 200, 10, 10, 8));
    hidden->clickable = false;

    struct Case {
        int x, y;
        int32_t id;
        void* param;
    };
    const Case cases[] = {{40, 40, 5, &first},
                          {70, 70, 6, &second},
                          {5, 5, 7, &visit},
                          {60, 10, 7, &visit},
                          {205, 205, -1, nullptr}};
    for (const Case& c : cases) {
        screen.events.clear();
        gui.mouseUp(c.x, c.y);
        if (c.id < 0) {
            EXPECT_TRUE(screen.events.empty()) << c.x << "," << c.y;
        } else {
            ASSERT_EQ(screen.events.size(), 1u) << c.x << "," << c.y;
            EXPECT_EQ(screen.events[0].first, c.id);
            EXPECT_EQ(screen.events[0].second, c.param);
        }
    }
}

TEST_F(ScreenSystemTest, HoverStopsAtTheFirstObjectUnderTheMouseClickableOrNot) {
    RecordingScreen screen(app, gui);
    gui.makeCurrent(&screen, 77);
    screen.permanentObjects.clear();  // the full-screen background would stop every walk
    ScreenObject* top = screen.addPermanent(object(0, 0, 100, 100, 5));
    top->clickable = false;
    top->imageId = top->normalImageId = 40;
    top->hoverImageId = 41;
    ScreenObject* below = screen.addVisit(object(0, 0, 100, 100, 6));
    below->imageId = below->normalImageId = 42;
    below->hoverImageId = 43;
    gui.mouseMove(10, 10);
    EXPECT_EQ(top->imageId, 41);
    EXPECT_EQ(below->imageId, 42);  // not visited
    gui.mouseMove(300, 300);
    EXPECT_EQ(top->imageId, 40);
}

TEST_F(ScreenSystemTest, ObjectsMoveBetweenTheListsKeepingOrder) {
    RecordingScreen screen(app, gui);
    screen.addVisit(object(0, 0, 1, 1, 1));
    ScreenObject* moving = screen.addVisit(object(0, 0, 1, 1, 2));
    screen.addVisit(object(0, 0, 1, 1, 3));
    screen.moveToPermanent(2);
    ASSERT_EQ(screen.visitObjects.size(), 2u);
    EXPECT_EQ(screen.visitObjects[0]->id, 1);
    EXPECT_EQ(screen.visitObjects[1]->id, 3);
    EXPECT_EQ(screen.permanentObjects.back().get(), moving);
    screen.moveToVisit(2);
    EXPECT_EQ(screen.visitObjects.back().get(), moving);
    screen.moveToVisit(99);  // unknown: both lists stay as they are
    screen.moveToPermanent(99);
    EXPECT_EQ(screen.visitObjects.size(), 3u);
    EXPECT_EQ(screen.permanentObjects.size(), 1u);

    DrawList list;
    screen.collectDrawList(list);
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0]->id, OBJECT_BACKGROUND);
    EXPECT_EQ(list[3], moving);

    screen.deleteVisitObjects();
    EXPECT_TRUE(screen.visitObjects.empty());
    EXPECT_EQ(screen.permanentObjects.size(), 1u);
}

TEST_F(ScreenSystemTest, NothingHappensWithoutACurrentScreen) {
    DrawList list;
    gui.sendEvent(1, nullptr);
    gui.update();
    gui.draw(list);
    gui.mouseMove(1, 1);
    gui.mouseDrag(1, 1);
    gui.mouseDown(1, 1);
    gui.mouseUp(1, 1);
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(gui.currentScreen(), nullptr);
}

TEST_F(ScreenSystemTest, InitEntersTheMakerSplashAndNumbersWithoutAScreenReenter) {
    gui.init();
    EXPECT_EQ(gui.currentScreenId(), SCREEN_ORLEND);
    EXPECT_EQ(gui.currentScreen(), gui.screenFor(SCREEN_ORLEND));
    for (int32_t number : {1, 2, 3, 4, 5, 6, 9, 10}) EXPECT_NE(gui.screenFor(number), nullptr);
    for (int32_t number : {0, 7, 8, 11}) EXPECT_EQ(gui.screenFor(number), nullptr);

    Screen* start = gui.screenFor(SCREEN_START);
    gui.switchTo(SCREEN_START);
    start->addVisit(object(0, 0, 1, 1, 1));
    gui.switchTo(11);
    EXPECT_EQ(gui.currentScreen(), start);
    EXPECT_EQ(gui.currentScreenId(), 11);
    EXPECT_TRUE(start->visitObjects.empty());

    // Each screen shows its own background.
    const std::pair<int32_t, int32_t> backgrounds[] = {
        {SCREEN_INTRO, Res::IMAGE_START_SCREEN_BACKGROUND},
        {SCREEN_ORLEND, Res::IMAGE_ORLEND_SCREEN_BACKGROUND},
        {SCREEN_KELVANE, Res::IMAGE_KELVANE_SCREEN_BACKGROUND},
        {SCREEN_START, Res::IMAGE_START_SCREEN_BACKGROUND},
        {SCREEN_TEAM_PICKING, Res::IMAGE_TEAM_PICKING_SCREEN_BACKGROUND},
        {SCREEN_MAIN, Res::IMAGE_MAIN_SCREEN_BACKGROUND},
        {SCREEN_GAME_TYPE, Res::IMAGE_GAME_TYPE_SCREEN_BACKGROUND},
        {SCREEN_WORLD_TOUR, Res::IMAGE_WORLD_TOUR_SCREEN_BACKGROUND}};
    for (const auto& [number, image] : backgrounds) {
        ScreenObject* background = gui.screenFor(number)->findObject(OBJECT_BACKGROUND);
        EXPECT_TRUE(background->hasImage) << number;
        EXPECT_EQ(background->imageId, image) << number;
    }
}

// Runs updates until the current screen changes; answers the number of the update that
// changed it (0 if none within `limit`).
int updatesUntilSwitch(GUISystem& gui, int limit) {
    Screen* before = gui.currentScreen();
    for (int update = 1; update <= limit; ++update) {
        gui.update();
        if (gui.currentScreen() != before) return update;
    }
    return 0;
}

TEST_F(ScreenSystemTest, SplashLeftAloneBecomesClickableOn153rdUpdateAndSwitchesOn581st) {
    gui.init();
    auto* splash = static_cast<SplashScreen*>(gui.currentScreen());
    ScreenObject* background = splash->background;
    EXPECT_EQ(background->alpha, 0);
    for (int update = 1; update <= 152; ++update) gui.update();
    EXPECT_FALSE(background->clickable);
    gui.mouseUp(320, 240);  // during the fade-in: nothing
    EXPECT_EQ(gui.currentScreenId(), SCREEN_ORLEND);
    gui.update();  // 153rd
    EXPECT_TRUE(background->clickable);
    EXPECT_EQ(background->alpha, 255);
    EXPECT_EQ(updatesUntilSwitch(gui, 1000), 581 - 153);
    EXPECT_EQ(gui.currentScreenId(), SCREEN_KELVANE);
    EXPECT_FALSE(background->clickable);
    EXPECT_EQ(background->alpha, 0);

    // The title splash runs its own fade from its start and gives way to the start screen.
    EXPECT_EQ(updatesUntilSwitch(gui, 1000), 581);
    EXPECT_EQ(gui.currentScreenId(), SCREEN_START);
}

TEST_F(ScreenSystemTest, ClickDuringHoldOrFadeOutSkipsToTheNextScreen) {
    gui.init();
    for (int update = 1; update <= 200; ++update) gui.update();  // holding
    gui.mouseUp(10, 10);
    EXPECT_EQ(gui.currentScreenId(), SCREEN_KELVANE);

    for (int update = 1; update <= 500; ++update) gui.update();  // fading out
    ASSERT_EQ(gui.currentScreenId(), SCREEN_KELVANE);
    gui.mouseUp(639, 479);
    EXPECT_EQ(gui.currentScreenId(), SCREEN_START);
    gui.mouseUp(10, 10);  // the start screen's background is not clickable
    EXPECT_EQ(gui.currentScreenId(), SCREEN_START);
}

}  // namespace
}  // namespace Kelvane

#include "game/goals/GameClock.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "GoalsFixtures.h"

namespace Kelvane {
namespace {

using testing::EventRecorder;
using testing::FakeResources;

constexpr int kTimeUp = 9091;  // running updates until time is up in bar mode

class GameClockTest : public ::testing::Test {
protected:
    FakeResources res;
    EventRecorder events;
    GameClock clock{events};

    void placeBar(int barWidth) {
        res.image(Res::IMAGE_TIME_MAIN_BACKGROUND, 200, 30);
        res.image(Res::IMAGE_TIME_BAR_BACKGROUND, 141, 15);
        res.image(Res::IMAGE_TIME_BAR, barWidth, 9);
        clock.place(280, 388, GameClock::kBarMode);
        clock.waiting = false;
    }
    // Runs updates until event 24 arrives; answers the number of updates it took (0: never).
    int runUntilTimeUp(int maxUpdates) {
        for (int n = 1; n <= maxUpdates; ++n) {
            clock.update();
            if (events.count(GameClock::kTimeUpEvent) > 0) return n;
        }
        return 0;
    }
};

TEST_F(GameClockTest, BarModeLayout) {
    placeBar(180);
    ASSERT_EQ(clock.objects.size(), 3u);
    EXPECT_EQ(clock.objects[0].get(), clock.frame);
    EXPECT_EQ(clock.objects[1].get(), clock.face);
    EXPECT_EQ(clock.objects[2].get(), clock.hand);
    EXPECT_EQ(clock.frame->imageId, Res::IMAGE_TIME_MAIN_BACKGROUND);
    EXPECT_FLOAT_EQ(clock.frame->x, 280.0f);
    EXPECT_FLOAT_EQ(clock.frame->y, 388.0f);
    EXPECT_EQ(clock.face->id, GameClock::kFaceId);
    EXPECT_EQ(clock.face->imageId, Res::IMAGE_TIME_BAR_BACKGROUND);
    EXPECT_FLOAT_EQ(clock.face->x, 340.0f);
    EXPECT_FLOAT_EQ(clock.face->y, 395.5f);  // 388 + 15 / 2
    EXPECT_EQ(clock.hand->id, GameClock::kBarHandId);
    EXPECT_EQ(clock.hand->imageId, Res::IMAGE_TIME_BAR);
    EXPECT_FALSE(clock.hand->naturalSize);
    EXPECT_FLOAT_EQ(clock.hand->x, 320.5f);  // 340 + (141 - 180) / 2
    EXPECT_FLOAT_EQ(clock.hand->y, 398.5f);  // 395.5 + 6 / 2
    EXPECT_FLOAT_EQ(clock.hand->width, 180.0f);
    EXPECT_EQ(clock.barFullWidth, 180);
    EXPECT_TRUE(clock.timer->countDown);
    EXPECT_EQ(clock.timer->value, 90);
    EXPECT_EQ(clock.timer->fullValue, 90);

    DrawList list;
    clock.addToDrawList(list);
    EXPECT_EQ(list, (DrawList{clock.frame, clock.face, clock.hand}));
}

TEST_F(GameClockTest, TimeIsUpOnThe9091stRunningUpdateAndTheBarShrinksOneNinetiethPerStep) {
    placeBar(180);
    int steps = 0;
    for (int n = 1; n <= kTimeUp; ++n) {
        const int before = clock.timer->value;
        clock.update();
        if (clock.timer->value != before) {
            ++steps;
            // Steps come on the 102nd update and every 101 updates after it.
            ASSERT_EQ(n, 102 + 101 * (steps - 1)) << "step " << steps;
            const float expected = steps == 90 ? 1.0f : 2.0f * (90 - steps);
            ASSERT_FLOAT_EQ(clock.hand->width, expected) << "step " << steps;
        }
        ASSERT_EQ(events.count(GameClock::kTimeUpEvent), n == kTimeUp ? 1 : 0) << "update " << n;
    }
    EXPECT_EQ(steps, 90);
    EXPECT_TRUE(clock.waiting);
    EXPECT_TRUE(clock.timeIsUp());
}

TEST_F(GameClockTest, TheBarIsNeverNarrowerThanOnePixel) {
    placeBar(45);  // half a pixel per step: the last steps round down to nothing
    float narrowest = 45.0f;
    for (int n = 0; n < kTimeUp; ++n) {
        clock.update();
        narrowest = std::min(narrowest, clock.hand->width);
    }
    EXPECT_FLOAT_EQ(narrowest, 1.0f);
    EXPECT_FLOAT_EQ(clock.hand->width, 1.0f);
}

TEST_F(GameClockTest, EventTwentyFourIsSentExactlyOncePerMatch) {
    placeBar(180);
    EXPECT_EQ(runUntilTimeUp(kTimeUp), kTimeUp);
    // Even if something lets the clock run again, the match has ended once.
    clock.waiting = false;
    for (int n = 0; n < 500; ++n) clock.update();
    EXPECT_EQ(events.count(GameClock::kTimeUpEvent), 1);
    // The next match's clock ends once again.
    clock.place(280, 388, GameClock::kBarMode);
    clock.waiting = false;
    events.events.clear();
    EXPECT_EQ(runUntilTimeUp(kTimeUp), kTimeUp);
}

TEST_F(GameClockTest, WaitingAndPausedUpdatesDoNotCount) {
    placeBar(180);
    clock.waiting = true;
    for (int n = 0; n < 20000; ++n) clock.update();
    EXPECT_EQ(clock.timer->value, 90);
    EXPECT_EQ(clock.timer->counter, 0);
    clock.waiting = false;

    for (int n = 0; n < 5000; ++n) clock.update();
    const int value = clock.timer->value;
    const float width = clock.hand->width;
    clock.paused = true;
    for (int n = 0; n < 7000; ++n) clock.update();
    EXPECT_EQ(clock.timer->value, value);
    EXPECT_FLOAT_EQ(clock.hand->width, width);
    EXPECT_EQ(events.count(GameClock::kTimeUpEvent), 0);
    clock.paused = false;
    EXPECT_EQ(runUntilTimeUp(kTimeUp), kTimeUp - 5000);
}

TEST_F(GameClockTest, PlaceStartsWaitingAndUnpaused) {
    placeBar(180);
    clock.paused = true;
    clock.place(280, 388, GameClock::kBarMode);
    EXPECT_TRUE(clock.waiting);
    EXPECT_FALSE(clock.paused);
    EXPECT_EQ(clock.objects.size(), 3u);
}

TEST_F(GameClockTest, NumberModeCountsUpToTenOnACentredNumber) {
    res.image(Res::IMAGE_TIME_MAIN_BACKGROUND, 200, 30);
    res.font(Res::FONT_ROCKWELLEXTRABOLD14, 8, 14);
    clock.place(101, 201, GameClock::kNumberMode);
    EXPECT_FLOAT_EQ(clock.face->width, 50.0f);
    EXPECT_FLOAT_EQ(clock.face->height, 50.0f);
    EXPECT_TRUE(clock.face->hasImage);
    EXPECT_EQ(clock.face->imageId, Res::IMAGE_CLOCK_BACKGROUND);
    EXPECT_EQ(clock.hand->id, GameClock::kNumberHandId);
    EXPECT_TRUE(clock.hand->hasText);
    EXPECT_EQ(clock.hand->fontId, Res::FONT_ROCKWELLEXTRABOLD14);
    EXPECT_EQ(clock.centreX, 126);
    EXPECT_EQ(clock.centreY, 226);
    EXPECT_FALSE(clock.timer->countDown);

    clock.waiting = false;
    clock.update();
    EXPECT_EQ(clock.hand->text, "0");
    EXPECT_FLOAT_EQ(clock.hand->x, 122.0f);  // 126 - 8 / 2
    EXPECT_FLOAT_EQ(clock.hand->y, 226.0f);
    // Ten steps: the 102nd update and every 101 after it.
    EXPECT_EQ(runUntilTimeUp(2000), 1011 - 1);
    EXPECT_EQ(clock.hand->text, "10");
    EXPECT_FLOAT_EQ(clock.hand->x, 118.0f);  // 126 - 16 / 2
}

TEST_F(GameClockTest, ResetDeletesEverythingAndLeavesNothingToRun) {
    placeBar(180);
    clock.reset();
    EXPECT_TRUE(clock.objects.empty());
    EXPECT_EQ(clock.timer, nullptr);
    EXPECT_EQ(clock.hand, nullptr);
    clock.waiting = false;
    clock.update();
    DrawList list;
    clock.addToDrawList(list);
    EXPECT_TRUE(list.empty());
}

TEST_F(GameClockTest, RunsWithoutAnyImages) {
    clock.place(280, 388, GameClock::kBarMode);
    clock.waiting = false;
    EXPECT_EQ(runUntilTimeUp(kTimeUp), kTimeUp);
    EXPECT_FLOAT_EQ(clock.hand->width, 1.0f);
}

}  // namespace
}  // namespace Kelvane

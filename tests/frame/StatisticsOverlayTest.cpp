// The statistics overlay: its texts and rate alone, and in the application's presented frames.
#include "frame/StatisticsOverlay.h"

#include <gtest/gtest.h>

#include "TestApp.h"

using namespace Zarvo;
using ZarvoTest::TestApp;
using Mode = StatisticsOverlay::Mode;

namespace {

TEST(StatisticsOverlay, ModesTextsAndTheRoundedRate) {
    StatisticsOverlay overlay;
    EXPECT_FALSE(overlay.IsOn());
    EXPECT_EQ(overlay.CounterText(1, 2), "");
    overlay.NextMode();
    EXPECT_EQ(overlay.GetMode(), Mode::kFramesPerSecond);
    // 61 frames in 1,220 ms: 50 a second.
    overlay.FramePresented(1000);
    for (int i = 1; i <= 61; ++i) overlay.FramePresented(1000 + static_cast<uint32_t>(i * 20));
    EXPECT_EQ(overlay.CounterText(0, 0), "FPS: 50");
    overlay.NextMode();
    EXPECT_EQ(overlay.CounterText(-3, 470), "-3,470");
    overlay.NextMode();
    EXPECT_FALSE(overlay.IsOn());
    EXPECT_EQ(StatisticsOverlay::ReplayClockText(6100, 10), "00:01:01");
    EXPECT_EQ(StatisticsOverlay::ReplayClockText(360000, 10), "01:00:00");
}

// Counts bright pixels in the bottom-right corner of the presented frame.
int BrightCornerPixels(TestApp& app) {
    DisplayBackend& display = *app.GetDisplay();
    const uint32_t* pixels = display.Pixels();
    int bright = 0;
    for (int y = display.Height() - 40; y < display.Height(); ++y) {
        for (int x = display.Width() - 120; x < display.Width(); ++x) {
            if ((pixels[y * display.Width() + x] & 0xFF) > 0x80) ++bright;
        }
    }
    return bright;
}

TEST(StatisticsOverlay, OffByDefaultAndSwitchedByTheKey) {
    TestApp app;
    app.InitAndLoad();
    app.RunFor(1100);
    EXPECT_FALSE(app.GetStatisticsOverlay().IsOn());
    EXPECT_EQ(BrightCornerPixels(app), 0);

    app.Post(Msg::kKeyDown, ZarvoAppBase::kStatisticsKey);
    app.RunFor(1100);
    EXPECT_EQ(app.GetStatisticsOverlay().GetMode(), Mode::kFramesPerSecond);
    EXPECT_GT(BrightCornerPixels(app), 0);

    app.Post(Msg::kKeyDown, ZarvoAppBase::kStatisticsKey);
    app.Post(Msg::kKeyDown, ZarvoAppBase::kStatisticsKey);
    app.RunFor(1100);
    EXPECT_FALSE(app.GetStatisticsOverlay().IsOn());
}

TEST(StatisticsOverlay, TheCommandLineOptionTurnsItOn) {
    TestApp app;
    app.SetCommandLineText("kelvane -showfps=mouse");
    app.InitAndLoad();
    EXPECT_EQ(app.GetStatisticsOverlay().GetMode(), Mode::kMousePosition);
    app.RunFor(1100);
    EXPECT_GT(BrightCornerPixels(app), 0);
    TestApp plain;
    plain.SetCommandLineText("kelvane -showfps");
    plain.ParseOwnCommandLine();
    EXPECT_EQ(plain.GetStatisticsOverlay().GetMode(), Mode::kFramesPerSecond);
}

}  // namespace

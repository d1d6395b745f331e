// Translation of SDL events into window messages, on SDL's dummy video driver.
#include <SDL.h>
#include <gtest/gtest.h>

#include "platform/SdlDisplay.h"
#include "platform/SdlEventInjector.h"
#include "platform/SdlPlatform.h"
#include "platform/SdlWindow.h"

using namespace Zarvo;

namespace {

class SdlWindowTest : public testing::Test {
protected:
    void SetUp() override {
        std::string missing;
        ASSERT_TRUE(platform.OpenDisplay(missing)) << missing;
        PlatformWindow::Placement p;
        p.title = "ZarvoApp";
        ASSERT_TRUE(window.Create(p)) << window.LastError();
        window.PumpEvents([](const WindowMessage&) {});  // whatever creation produced
    }
    std::vector<WindowMessage> Pump() {
        std::vector<WindowMessage> got;
        window.PumpEvents([&](const WindowMessage& m) { got.push_back(m); });
        return got;
    }
    SdlPlatform platform;
    SdlWindow window;
    SdlEventInjector inject{window};
};

TEST_F(SdlWindowTest, AltF4IsASystemKeyAndOtherKeysKeepTheirVirtualCodes) {
    ASSERT_TRUE(inject.Key("F4", true, true));
    ASSERT_TRUE(inject.Key("A", true, false));
    ASSERT_TRUE(inject.Key("A", false, false));
    ASSERT_TRUE(inject.Key("Return", true, false));
    const auto got = Pump();
    ASSERT_EQ(got.size(), 5u);
    EXPECT_EQ(got[0].message, Msg::kSysKeyDown);
    EXPECT_EQ(got[0].wParam, static_cast<uint64_t>(VKey::kF4));
    EXPECT_EQ(got[1].message, Msg::kKeyDown);
    EXPECT_EQ(got[1].wParam, static_cast<uint64_t>('A'));
    EXPECT_EQ(got[2].message, Msg::kKeyUp);
    EXPECT_EQ(got[3].wParam, static_cast<uint64_t>(VKey::kReturn));
    EXPECT_EQ(got[4].message, Msg::kChar);  // Enter types a character too
    EXPECT_EQ(got[4].wParam, 13u);
}

TEST_F(SdlWindowTest, SecondClickIsADoubleClickAndButtonsHeldTravelAlong) {
    inject.MouseButton(SdlEventInjector::kLeft, true, 2, 30, -2);
    inject.MouseButton(SdlEventInjector::kRight, true, 1, 30, -2);
    inject.MouseButton(SdlEventInjector::kLeft, false, 1, 30, -2);
    const auto got = Pump();
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0].message, Msg::kLButtonDblClk);
    EXPECT_EQ(Msg::PointX(got[0].lParam), 30);
    EXPECT_EQ(Msg::PointY(got[0].lParam), -2);
    EXPECT_EQ(got[1].message, Msg::kRButtonDown);
    EXPECT_EQ(got[1].wParam, Msg::kButtonLeft | Msg::kButtonRight);
    EXPECT_EQ(got[2].message, Msg::kLButtonUp);
    EXPECT_EQ(got[2].wParam, Msg::kButtonRight);  // the right button is still held
}

TEST_F(SdlWindowTest, TextBecomesLatin1CharactersAndCloseBecomesAClose) {
    inject.Text("a\xC3\xA9\xE2\x82\xAC");  // a, e-acute, euro sign
    inject.Quit();
    const auto got = Pump();
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0].wParam, static_cast<uint64_t>('a'));
    EXPECT_EQ(got[1].wParam, 0xE9u);
    EXPECT_EQ(got[2].message, Msg::kClose);
}

TEST_F(SdlWindowTest, TheDisplayMakesA640By480ScreenImage) {
    SdlDisplay display;
    ASSERT_EQ(display.Initialize(window, 640, 480, true), DisplayBackend::kResultOk)
        << display.LastError();
    EXPECT_EQ(display.Width(), 640);
    EXPECT_EQ(display.BackBuffer().size(), 640u * 480u);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(display.Pixels()) % 64, 0u);  // whole cache lines
    EXPECT_EQ(display.rgbBitCount, 32u);
    EXPECT_EQ(display.redMask, 0x00FF0000u);
    display.Present();
    EXPECT_EQ(display.Initialize(window, 0, 480, true), DisplayBackend::kResultSurfaceFail);
    EXPECT_STREQ(DisplayBackend::ResultName(7), "RESULT_UNKNOWN");
}

// The player drags the window to a new size: the window says so, and both the mouse's source
// rectangle and the presented picture sit at the letterboxed place.
TEST_F(SdlWindowTest, AResizedWindowReportsItsSizeAndShowsThePictureLetterboxed) {
    SdlDisplay display;
    ASSERT_EQ(display.Initialize(window, 640, 480, true), DisplayBackend::kResultOk)
        << display.LastError();
    // Left half white, right half black, so the picture's edges show where they are.
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x)
            display.BackBuffer()[y * 640 + x] = x < 320 ? 0xFFFFFFFF : 0xFF000000;
    }
    const struct {
        int width, height;
        PlatformRect picture;
    } sizes[] = {{1001, 333, {278, 0, 444, 333}}, {800, 700, {0, 50, 800, 600}}};
    for (const auto& size : sizes) {
        SDL_SetWindowSize(window.Handle(), size.width, size.height);
        const auto got = Pump();
        bool told = false;
        for (const WindowMessage& m : got) {
            told |= m.message == Msg::kSize && m.wParam == Msg::kSizeRestored &&
                    Msg::PointX(m.lParam) == size.width && Msg::PointY(m.lParam) == size.height;
        }
        EXPECT_TRUE(told) << size.width;
        const PlatformRect r = window.ScreenRect();
        EXPECT_EQ(r.x, size.picture.x);
        EXPECT_EQ(r.y, size.picture.y);
        EXPECT_EQ(r.width, size.picture.width);
        EXPECT_EQ(r.height, size.picture.height);
        int w = 0, h = 0;
        window.NormalSize(w, h);
        EXPECT_EQ(w, size.width);
        EXPECT_EQ(h, size.height);

        display.Present();
        std::vector<uint32_t> shown;
        int sw = 0, sh = 0;
        ASSERT_TRUE(display.ReadWindowPixels(shown, sw, sh));
        ASSERT_EQ(sw, size.width);
        ASSERT_EQ(sh, size.height);
        auto at = [&](int x, int y) { return shown[static_cast<size_t>(y) * sw + x] & 0xFFFFFF; };
        const PlatformRect& p = size.picture;
        const int midY = p.y + p.height / 2;
        EXPECT_EQ(at(p.x + 2, midY), 0xFFFFFFu);  // left edge of the picture: white
        EXPECT_EQ(at(p.x + p.width - 3, midY), 0u);
        if (p.x > 0) {
            EXPECT_EQ(at(p.x - 1, midY), 0u);  // the bar on the left
        }
        if (p.y > 0) {
            EXPECT_EQ(at(p.x + 2, p.y - 1), 0u);  // the bar on top
            EXPECT_EQ(at(p.x + 2, p.y), 0xFFFFFFu);
        }
    }
}

// Whole multiples are scaled by repeating pixels; other sizes are smoothed.
TEST_F(SdlWindowTest, WholeMultiplesStaySharpAndOtherSizesAreSmoothed) {
    SdlDisplay display;
    ASSERT_EQ(display.Initialize(window, 640, 480, true), DisplayBackend::kResultOk)
        << display.LastError();
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            display.BackBuffer()[y * 640 + x] = (x + y) % 2 ? 0xFFFFFFFF : 0xFF000000;
        }
    }
    const struct {
        int width, height;
        bool sharp;
    } sizes[] = {{1280, 960, true}, {800, 600, false}, {640, 480, true}};
    for (const auto& size : sizes) {
        SDL_SetWindowSize(window.Handle(), size.width, size.height);
        Pump();
        display.Present();
        std::vector<uint32_t> shown;
        int w = 0, h = 0;
        ASSERT_TRUE(display.ReadWindowPixels(shown, w, h));
        int grey = 0;
        for (uint32_t p : shown) {
            const uint32_t rgb = p & 0xFFFFFF;
            grey += rgb != 0 && rgb != 0xFFFFFF;
        }
        if (size.sharp) {
            EXPECT_EQ(grey, 0) << size.width;
        } else {
            EXPECT_GT(grey, w * h / 4) << size.width;
        }
    }
}

// A window whose window manager adds a frame of a known size once it is shown (SDL's dummy
// driver reports no frame).
class FramedWindow : public SdlWindow {
protected:
    bool ReadBorders(int& top, int& left, int& bottom, int& right) override {
        top = 30;
        left = right = bottom = 5;
        return true;
    }
};

TEST(SdlWindowPlacement, ASavedOuterPositionComesBackUnchangedOnAFramedWindow) {
    SdlPlatform platform;
    std::string missing;
    ASSERT_TRUE(platform.OpenDisplay(missing)) << missing;
    PlatformWindow::Placement p;
    p.x = 100;
    p.y = 80;
    // Two runs: each saves the outer position its window reports and the next starts there.
    for (int run = 0; run < 2; ++run) {
        FramedWindow window;
        ASSERT_TRUE(window.Create(p)) << window.LastError();
        window.Show();
        int left = 0, top = 0, right = 0, bottom = 0;
        window.FrameExtents(left, top, right, bottom);
        EXPECT_EQ(top, 30);
        window.NormalPosition(p.x, p.y);
        EXPECT_EQ(p.x, 100) << "run " << run;
        EXPECT_EQ(p.y, 80) << "run " << run;
    }
}

}  // namespace

// The real window on a virtual X server: resized by the window system to a whole multiple and
// to an odd size, a click still lands on the right point of the 640 x 480 screen.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "DesktopTestSupport.h"
#include "files/TempDir.h"
#include "frame/ZarvoAppBase.h"
#include "platform/Letterbox.h"
#include "platform/PlatformWindow.h"
#include "widgets/Widget.h"
#include "widgets/WidgetManager.h"

// A real X display: the X, GL and D-Bus client libraries SDL loads keep buffers until the
// process ends, which the leak checker of the sanitizer build would blame on the test; that
// memory is not ours. Full stacks are recorded so that those libraries show in them.
extern "C" const char* __asan_default_options() {
    return "fast_unwind_on_malloc=0";
}
extern "C" const char* __lsan_default_options() {
    return "print_suppressions=0";
}
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libGLX_mesa.so\nleak:libGLX.so\nleak:libdbus-1.so\nleak:libX11.so\n"
           "leak:libxcb.so\n";
}

namespace {

namespace fs = std::filesystem;
using namespace DesktopTest;

// Remembers where it was pressed, in its own coordinates.
class PressTarget : public Zarvo::Widget {
public:
    void OnMouseDown(int x, int y, int clickCount) override {
        pressedX = x;
        pressedY = y;
        clicks += clickCount > 0 ? 1 : 0;
    }
    int pressedX = -1, pressedY = -1, clicks = 0;
};

// The base application on the real platform, with one widget over the whole screen.
class WindowApp : public Zarvo::ZarvoAppBase {
public:
    WindowApp() {
        title = "KelvaneWindowTest";
        onlyAllowOneCopy = false;
        noSoundNeeded = true;
        target.SetBounds(0, 0, width, height);
        GetWidgetManager()->AddChild(&target);
    }
    ~WindowApp() override { GetWidgetManager()->RemoveChild(&target); }
    void Load() {
        BeginBackgroundLoading();
        AwaitBackgroundLoading();
    }
    PressTarget target;
};

// An X server of its own for the test, on the first free display number.
class VirtualScreen {
public:
    bool Start(const std::string& xvfb) {
        for (int n = 57; n < 99 && display_.empty(); ++n) {
            if (fs::exists("/tmp/.X" + std::to_string(n) + "-lock")) continue;
            auto server = std::make_unique<Zarvo::ChildProcess>();
            if (!server->Start({xvfb, ":" + std::to_string(n), "-screen", "0", "1600x1200x24",
                                "-nolisten", "tcp"},
                               {}, "/dev/null")) {
                continue;
            }
            const fs::path socket = "/tmp/.X11-unix/X" + std::to_string(n);
            // A safety net, not a measurement: a server normally answers at once.
            for (int i = 0; i < 100 && server->Wait(100) == -1; ++i) {
                if (fs::exists(socket)) {
                    display_ = ":" + std::to_string(n);
                    server_ = std::move(server);
                    break;
                }
            }
        }
        return !display_.empty();
    }
    ~VirtualScreen() {
        if (server_) {
            server_->Terminate();
            server_->Wait(5000);
        }
    }
    const std::string& Display() const { return display_; }

private:
    std::unique_ptr<Zarvo::ChildProcess> server_;
    std::string display_;
};

class RealWindow : public testing::Test {
protected:
    void SetUp() override {
        xvfb = FindProgram("Xvfb");
        xdotool = FindProgram("xdotool");
        if (xvfb.empty() || xdotool.empty()) {
            GTEST_SKIP() << "Xvfb or xdotool is missing (scripts/deps.sh installs both)";
        }
        ASSERT_TRUE(screen.Start(xvfb)) << "no virtual X server could be started";
        setenv("DISPLAY", screen.Display().c_str(), 1);
        setenv("SDL_VIDEODRIVER", "x11", 1);
        // The virtual server has no GPU: SDL's software renderer draws into the window, the
        // way a machine without GL would run the game.
        setenv("SDL_RENDER_DRIVER", "software", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"}) {
            setenv(name, (folder.Path() / name).c_str(), 1);
        }
        fs::create_directories(folder.Path() / "run");
        fs::permissions(folder.Path() / "run", fs::perms::owner_all);
        setenv("XDG_RUNTIME_DIR", (folder.Path() / "run").c_str(), 1);
    }

    // Runs xdotool; answers what it printed.
    std::string Xdotool(const std::vector<std::string>& args) {
        std::vector<std::string> argv{xdotool};
        argv.insert(argv.end(), args.begin(), args.end());
        const fs::path out = folder.Path() / "xdotool.txt";
        fs::remove(out);
        EXPECT_EQ(RunProgram(argv, {}, out, 20000), 0) << ReadFile(out);
        return ReadFile(out);
    }

    // Steps the application's loop until `done` holds; false when it never does (a safety
    // net of some seconds, not a measurement).
    template <typename Done>
    bool StepUntil(WindowApp& app, Done done) {
        for (int i = 0; i < 2000; ++i) {
            app.LoopStep();
            if (done()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return false;
    }

    void ResizeAndClick(WindowApp& app, const std::string& window, int width, int height,
                        int windowX, int windowY, int logicalX, int logicalY) {
        SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
        Zarvo::WidgetManager& manager = *app.GetWidgetManager();
        Xdotool({"windowsize", window, std::to_string(width), std::to_string(height)});
        // The window system tells the new size; the mouse transform follows it.
        const Zarvo::PlatformRect picture = Zarvo::Letterbox::Fit(width, height, 640, 480);
        ASSERT_TRUE(StepUntil(app, [&] {
            const Zarvo::Rect& s = manager.mouseSourceRect;
            return s.x == picture.x && s.y == picture.y && s.width == picture.width &&
                   s.height == picture.height;
        })) << "the mouse transform never followed the new size";
        app.target.clicks = 0;
        Xdotool({"mousemove", "--window", window, std::to_string(windowX), std::to_string(windowY),
                 "click", "1"});
        ASSERT_TRUE(StepUntil(app, [&] { return app.target.clicks > 0; }))
            << "the click never arrived";
        EXPECT_EQ(app.target.pressedX, logicalX);
        EXPECT_EQ(app.target.pressedY, logicalY);
        // Scripted input computes the same window point back.
        const Zarvo::WidgetPoint back = manager.MapLogicalPoint(logicalX, logicalY);
        EXPECT_EQ(manager.MapWindowPoint(back.x, back.y), (Zarvo::WidgetPoint{logicalX, logicalY}));
    }

    std::string xvfb, xdotool;
    TempDir folder;
    VirtualScreen screen;
};

TEST_F(RealWindow, AClickLandsOnTheScaledPictureAtWholeAndOddSizes) {
    WindowApp app;
    app.Init();
    app.Load();
    ASSERT_NE(app.GetWindow(), nullptr);
    app.GetWindow()->Show();
    const std::string found = Xdotool({"search", "--sync", "--name", "^KelvaneWindowTest$"});
    const std::string window = found.substr(0, found.find('\n'));
    ASSERT_FALSE(window.empty()) << found;

    // Twice the size: window (641, 35) shows logical (320, 17).
    ResizeAndClick(app, window, 1280, 960, 641, 35, 320, 17);
    // 444 x 333 picture 278 pixels from the left: window (500, 12) shows (320, 17).
    ResizeAndClick(app, window, 1001, 333, 500, 12, 320, 17);
    app.Quit();
}

}  // namespace

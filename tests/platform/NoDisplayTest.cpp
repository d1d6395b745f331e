// A display that is named but cannot be opened: a clear message on standard error and a failed
// exit, never a message box waiting for that display.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>

#include "ScopedEnv.h"
#include "TempFolder.h"
#include "platform/ChildProcess.h"
#include "platform/SdlPlatform.h"

using namespace Zarvo;
using ZarvoTest::ScopedEnv;
using ZarvoTest::TempFolder;

// SDL's failed attempt at an X display leaves a buffer of the D-Bus library behind (the leak
// checker of the sanitizer build would fail the test for it); that memory is not ours.
extern "C" const char* __lsan_default_options() {
    return "print_suppressions=0";
}
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libdbus-1.so\n";
}

namespace {

// No X server listens on this display number.
constexpr const char* kDeadDisplay = ":4242";

TEST(NoDisplay, ADisplayThatCannotBeOpenedHasNoScreenForMessageBoxes) {
    ScopedEnv driver("SDL_VIDEODRIVER", "x11");
    ScopedEnv display("DISPLAY", kDeadDisplay);
    ScopedEnv wayland("WAYLAND_DISPLAY", nullptr);
    SdlPlatform platform;
    EXPECT_TRUE(platform.HasScreen());  // a display is named, so a box could appear
    std::string missing;
    ASSERT_FALSE(platform.OpenDisplay(missing));
    EXPECT_NE(missing.find("Cannot open a display"), std::string::npos) << missing;
    EXPECT_FALSE(platform.HasScreen());
}

TEST(NoDisplay, TheProgramSaysNoDisplayIsAvailableAndExitsWithOne) {
    TempFolder dir;
    const std::string log = dir / "run.log";
    ChildProcess program;
    ASSERT_TRUE(
        program.Start({std::string(KELVANE_BINARY_DIR) + "/kelvane"},
                      {"XDG_RUNTIME_DIR=" + dir.Path(), "XDG_CONFIG_HOME=" + dir.Path() + "/config",
                       "XDG_DATA_HOME=" + dir.Path() + "/data", "SDL_VIDEODRIVER=x11",
                       std::string("DISPLAY=") + kDeadDisplay, "SDL_AUDIODRIVER=dummy"},
                      log));
    const int code = program.Wait(20000);
    std::ifstream in(log);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(code, 1) << text.str();
    EXPECT_NE(text.str().find("No display available: "), std::string::npos) << text.str();
}

}  // namespace

// The built game records a headless run into a demo file and replays it: the replay, fast or
// not, passes the same screens at the same updates and ends where the recording ends; recorded
// clicks take effect at their update, the same way in every replay; a damaged demo file is
// refused with its reason.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "files/TempDir.h"
#include "frame/DemoFile.h"
#include "game/BuiltGame.h"
#include "platform/ChildProcess.h"

namespace Kelvane {
namespace {

namespace fs = std::filesystem;
using Zarvo::ChildProcess;
using Zarvo::DemoEvent;
using Zarvo::DemoFile;
using Zarvo::DemoRecording;

using testing::kGame;
using testing::kPak;
using testing::makeRunFolders;
using testing::readFile;
// The "Screen N after M updates" lines of a run's output, in order.
std::vector<std::string> screenLines(const std::string& output) {
    std::vector<std::string> lines;
    std::istringstream in(output);
    for (std::string line; std::getline(in, line);)
        if (line.rfind("Screen ", 0) == 0 && line.find(" after ") != std::string::npos)
            lines.push_back(line);
    return lines;
}

class DemoRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fs::exists(kGame));
        ASSERT_TRUE(fs::exists(kPak));
        makeRunFolders(folder.Path());
    }

    // Runs the game with `options` until it exits; answers its exit code, its output in `out`.
    int run(const std::vector<std::string>& options, const std::string& untilScreen,
            std::string& out) {
        std::vector<std::string> args = {kGame.string(), "-changedir=" + (folder / "data")};
        args.insert(args.end(), options.begin(), options.end());
        std::vector<std::string> env = {"SDL_VIDEODRIVER=dummy",
                                        "SDL_AUDIODRIVER=dummy",
                                        "XDG_CONFIG_HOME=" + folder / "config",
                                        "XDG_DATA_HOME=" + folder / "share",
                                        "XDG_CACHE_HOME=" + folder / "cache",
                                        "XDG_RUNTIME_DIR=" + folder / "run"};
        if (!untilScreen.empty()) env.push_back("KELVANE_RUN_UNTIL_SCREEN=" + untilScreen);
        const fs::path output = folder.Path() / "output.txt";
        fs::remove(output);  // the child appends to it
        ChildProcess game;
        if (!game.Start(args, env, output.string())) return -100;
        const int code = game.Wait(120000);
        if (code == -1) {
            game.Terminate();
            game.Wait(10000);
        }
        out = readFile(output);
        return code;
    }

    TempDir folder;
    const std::string demo = folder / "run.dmo";
};

TEST_F(DemoRunTest, ReplaysPassTheRecordedScreensAtTheRecordedUpdatesAndClicksTakeEffect) {
    std::string recorded;
    ASSERT_EQ(run({"-record", "-demofile=" + demo}, "4", recorded), 0) << recorded;
    const std::vector<std::string> screens = screenLines(recorded);
    ASSERT_EQ(screens.size(), 3u) << recorded;
    DemoRecording recording;
    std::string error;
    ASSERT_TRUE(DemoFile::Read(demo, recording, error)) << error;
    EXPECT_NE(recorded.find("Recorded " + std::to_string(recording.header.endUpdate) + " updates"),
              std::string::npos)
        << recorded;

    for (const std::vector<std::string>& speed :
         {std::vector<std::string>{}, std::vector<std::string>{"-fast"}}) {
        std::vector<std::string> options = {"-play", "-demofile=" + demo};
        options.insert(options.end(), speed.begin(), speed.end());
        std::string replayed;
        ASSERT_EQ(run(options, "", replayed), 0) << replayed;
        EXPECT_EQ(screenLines(replayed), screens) << replayed;
        EXPECT_NE(replayed.find("Demo replay finished after " +
                                std::to_string(recording.header.endUpdate) + " updates"),
                  std::string::npos)
            << replayed;
    }

    // A click on the first splash screen, once it is shown whole, skips it at that update. The
    // splash comes when the loading has finished, which on a slow machine is late: the click is
    // placed after the splash's own start (its fade-in takes about 150 of its 581 updates).
    const std::string entered = "Screen 2 after ";
    ASSERT_EQ(screens[0].rfind(entered, 0), 0u) << recorded;
    DemoRecording clicked = recording;
    const int at = std::stoi(screens[0].substr(entered.size())) + 300;
    clicked.events.push_back({at, DemoEvent::Kind::kPointerMove, 320, 240, 0});
    clicked.events.push_back({at, DemoEvent::Kind::kPointerPress, 320, 240, 1});
    clicked.events.push_back({at, DemoEvent::Kind::kPointerRelease, 320, 240, 1});
    const std::string clickedDemo = folder / "clicked.dmo";
    ASSERT_TRUE(DemoFile::Write(clickedDemo, clicked));
    std::vector<std::string> first;
    for (int i = 0; i < 2; ++i) {
        std::string replayed;
        ASSERT_EQ(run({"-play", "-fast", "-demofile=" + clickedDemo}, "", replayed), 0) << replayed;
        const std::vector<std::string> lines = screenLines(replayed);
        if (i == 0) first = lines;
        EXPECT_EQ(lines, first) << replayed;
    }
    ASSERT_EQ(first.size(), 3u);
    EXPECT_EQ(first[0], screens[0]);
    EXPECT_EQ(first[1], "Screen 3 after " + std::to_string(at + 1) + " updates");
}

TEST_F(DemoRunTest, ADamagedDemoFileIsRefusedWithItsReason) {
    {
        std::ofstream out(demo, std::ios::binary);
        out << "KDMO\x01";
    }
    std::string output;
    EXPECT_EQ(run({"-play", "-demofile=" + demo}, "", output), 1);
    EXPECT_NE(
        output.find("FATAL ERROR: Cannot replay the demo file \"" + demo + "\": it is cut short."),
        std::string::npos)
        << output;
}

}  // namespace
}  // namespace Kelvane

// The built game, run headless from the pack file until it reaches the start screen through
// both splash screens; it then quits by itself (and, in a second run, on SIGTERM), and every
// game object it created has been released.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "files/TempDir.h"
#include "game/BuiltGame.h"
#include "platform/ChildProcess.h"

namespace Kelvane {
namespace {

namespace fs = std::filesystem;
using Zarvo::ChildProcess;

using testing::kGame;
using testing::kPak;
using testing::readFile;
class GameRunTest : public ::testing::Test {
protected:
    // The game's own folders (settings, save game, lock) go below the test's folder, and it runs
    // in a folder that holds only the pack file.
    void SetUp() override {
        ASSERT_TRUE(fs::exists(kGame));
        ASSERT_TRUE(fs::exists(kPak));
        fs::create_directories(folder.Path() / "data");
        fs::create_symlink(kPak, folder.Path() / "data" / "main.pak");
    }

    std::vector<std::string> environment(const std::string& untilScreen) const {
        std::vector<std::string> env = {"SDL_VIDEODRIVER=dummy",
                                        "SDL_AUDIODRIVER=dummy",
                                        "XDG_CONFIG_HOME=" + folder / "config",
                                        "XDG_DATA_HOME=" + folder / "share",
                                        "XDG_CACHE_HOME=" + folder / "cache",
                                        "XDG_RUNTIME_DIR=" + folder / "run"};
        if (!untilScreen.empty()) env.push_back("KELVANE_RUN_UNTIL_SCREEN=" + untilScreen);
        fs::create_directories(folder.Path() / "run");
        return env;
    }

    bool start(ChildProcess& game, const std::string& untilScreen) {
        return game.Start({kGame.string(), "-changedir=" + (folder / "data")},
                          environment(untilScreen), folder / "output.txt");
    }

    std::string output() const { return readFile(folder.Path() / "output.txt"); }
    std::string report() const { return readFile(folder.Path() / "data" / "mem_leaks.txt"); }

    TempDir folder;
};

TEST_F(GameRunTest, ReachesTheStartScreenThroughBothSplashesAndReleasesEverything) {
    ChildProcess game;
    ASSERT_TRUE(start(game, "4"));
    ASSERT_EQ(game.Wait(120000), 0) << output();
    const std::string out = output();
    const size_t maker = out.find("Screen 2 after");
    const size_t title = out.find("Screen 3 after");
    const size_t start = out.find("Screen 4 after");
    ASSERT_NE(maker, std::string::npos) << out;
    ASSERT_NE(title, std::string::npos) << out;
    ASSERT_NE(start, std::string::npos) << out;
    EXPECT_LT(maker, title);
    EXPECT_LT(title, start);
    // Each splash left alone switches on its 581st update; the first line is written on the
    // maker splash's first or second update, depending on when the board joined the update pass.
    const int entered = std::stoi(out.substr(maker + std::string("Screen 2 after ").size()));
    const int reached = std::stoi(out.substr(start + std::string("Screen 4 after ").size()));
    EXPECT_NEAR(reached - entered, 2 * 581 - 1, 1) << out;

    const std::string text = report();
    EXPECT_NE(text.find("Memory Leak Report for "), std::string::npos) << out;
    EXPECT_NE(text.find("Total Unfreed: 0 bytes (0KB)\n"), std::string::npos) << text;
    EXPECT_EQ(text.find(") : Leak "), std::string::npos) << text;
}

TEST_F(GameRunTest, QuitsCleanlyOnSigterm) {
    ChildProcess game;
    ASSERT_TRUE(start(game, ""));
    // Wait until the board exists (the maker splash has been entered), then terminate.
    for (int i = 0; i < 600 && output().find("Screen 2 after") == std::string::npos; ++i)
        ASSERT_EQ(game.Wait(100), -1) << output();
    ASSERT_NE(output().find("Screen 2 after"), std::string::npos) << output();
    game.Terminate();
    EXPECT_EQ(game.Wait(30000), 0) << output();
    EXPECT_NE(report().find("Total Unfreed: 0 bytes (0KB)\n"), std::string::npos) << report();
}

}  // namespace
}  // namespace Kelvane

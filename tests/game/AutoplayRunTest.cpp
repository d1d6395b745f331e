// The built game played by its autoplayer, headless and as fast as the machine allows: a
// friendly match recorded and replayed to the same end, and a world tour match saved on quitting
// and resumed by the next run.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
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
using testing::makeRunFolders;
using testing::readFile;
constexpr int kRunTimeoutMs = 240000;

std::vector<std::string> linesStartingWith(const std::string& text,
                                           const std::vector<std::string>& prefixes) {
    std::vector<std::string> found;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        for (const std::string& prefix : prefixes)
            if (line.rfind(prefix, 0) == 0) found.push_back(line);
    return found;
}

// "Argentina 2 - 1 Germany": two names around two scores, and nothing else on the line.
bool isResultLine(const std::string& line) {
    if (line.find(" after ") != std::string::npos) return false;
    const size_t dash = line.find(" - ");
    if (dash == std::string::npos || dash == 0) return false;
    const size_t scoreA = line.rfind(' ', dash - 1);
    if (scoreA == std::string::npos || scoreA == 0) return false;
    const std::string a = line.substr(scoreA + 1, dash - scoreA - 1);
    const std::string rest = line.substr(dash + 3);
    const size_t space = rest.find(' ');
    if (a.empty() || space == std::string::npos || space + 1 >= rest.size()) return false;
    const std::string b = rest.substr(0, space);
    auto number = [](const std::string& s) {
        return !s.empty() && s.find_first_not_of("0123456789") == std::string::npos;
    };
    return number(a) && number(b);
}

class AutoplayRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fs::exists(kGame));
        ASSERT_TRUE(fs::exists(kPak));
        makeRunFolders(folder.Path());
    }

    // Runs the game to its end with `options`; answers its exit status. Its output (standard
    // output and standard error) is then in `out`.
    int run(const std::vector<std::string>& options) {
        std::vector<std::string> argv = {kGame.string(), "-changedir=" + (folder / "data")};
        argv.insert(argv.end(), options.begin(), options.end());
        const std::vector<std::string> env = {"SDL_VIDEODRIVER=dummy",
                                              "SDL_AUDIODRIVER=dummy",
                                              "XDG_CONFIG_HOME=" + folder / "config",
                                              "XDG_DATA_HOME=" + folder / "share",
                                              "XDG_CACHE_HOME=" + folder / "cache",
                                              "XDG_RUNTIME_DIR=" + folder / "run"};
        ChildProcess game;
        const fs::path log = folder.Path() / ("output" + std::to_string(++runs) + ".txt");
        if (!game.Start(argv, env, log)) return -1;
        const int status = game.Wait(kRunTimeoutMs);
        if (status == -1) game.Kill();
        out = readFile(log);
        return status;
    }

    std::string leakReport() const { return readFile(folder.Path() / "data" / "mem_leaks.txt"); }

    TempDir folder;
    std::string out;
    int runs = 0;
};

TEST_F(AutoplayRunTest, AFriendlyMatchPlaysThroughAndItsRecordingReplaysToTheSameEnd) {
    const std::string demo = folder / "friendly.dmo";
    const std::string shots = folder / "shots";
    ASSERT_EQ(run({"-autoplay", "-fast", "-record", "-demofile=" + demo, "-screenshots=" + shots}),
              0)
        << out;
    const std::string played = out;
    EXPECT_NE(played.find("Screen: StartScreen"), std::string::npos) << played;
    EXPECT_NE(played.find("Screen: MainScreen"), std::string::npos) << played;
    int results = 0;
    std::istringstream lines(played);
    for (std::string line; std::getline(lines, line);) results += isResultLine(line) ? 1 : 0;
    EXPECT_EQ(results, 1) << played;
    EXPECT_NE(leakReport().find("Total Unfreed: 0 bytes (0KB)"), std::string::npos);

    // Every screen and dialog on the way left its picture, numbered in order.
    std::vector<std::string> pictures;
    for (const auto& entry : fs::directory_iterator(shots))
        pictures.push_back(entry.path().filename());
    std::sort(pictures.begin(), pictures.end());
    ASSERT_FALSE(pictures.empty());
    EXPECT_EQ(pictures.front(), "001-OrlendScreen.png");
    std::string seen;
    for (const std::string& name : pictures) seen += name.substr(4, name.size() - 8) + " ";
    EXPECT_EQ(seen,
              "OrlendScreen KelvaneScreen StartScreen MenuDialog OptionsDialog MenuDialog "
              "RulesDialog MenuDialog CreditsDialog GameTypeScreen MainScreen PostMatchDialog "
              "StartScreen ");

    // The replay takes the same road: the same screens at the same updates, the same result.
    std::vector<std::string> prefixes = {"Match over: "};
    for (char digit = '1'; digit <= '9'; ++digit)
        prefixes.push_back(std::string("Screen ") + digit);
    const std::vector<std::string> recorded = linesStartingWith(played, prefixes);
    ASSERT_EQ(run({"-play", "-fast", "-demofile=" + demo}), 0) << out;
    const std::vector<std::string> replayed = linesStartingWith(out, prefixes);
    EXPECT_EQ(replayed, recorded) << played << "\n----\n" << out;
    EXPECT_EQ(linesStartingWith(out, {"Match over: "}).size(), 1u) << out;
}

TEST_F(AutoplayRunTest, ATourMatchIsSavedOnQuittingAndTheNextRunResumesIt) {
    ASSERT_EQ(run({"-autoplay=tour", "-fast"}), 0) << out;
    EXPECT_NE(out.find("Screen: TeamPickingScreen"), std::string::npos) << out;
    EXPECT_NE(out.find("Screen: WorldTourScreen"), std::string::npos) << out;
    const std::vector<std::string> saved = linesStartingWith(out, {"Saving tour: "});
    ASSERT_EQ(saved.size(), 1u) << out;
    ASSERT_TRUE(fs::exists(folder.Path() / "share"));

    ASSERT_EQ(run({"-autoplay=tour:0", "-fast"}), 0) << out;
    const std::vector<std::string> resumed = linesStartingWith(out, {"Resumed tour: "});
    ASSERT_EQ(resumed.size(), 1u) << out;
    EXPECT_EQ(resumed[0].substr(std::string("Resumed tour: ").size()),
              saved[0].substr(std::string("Saving tour: ").size()));
    EXPECT_EQ(out.find("Screen: TeamPickingScreen"), std::string::npos) << out;
}

}  // namespace
}  // namespace Kelvane

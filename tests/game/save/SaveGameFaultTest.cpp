// The save game under a failing file system and under a writer killed in the middle of saving:
// a failed save says so, and the earlier save stays whole.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "files/TempDir.h"
#include "game/BuiltGame.h"
#include "game/save/SaveGame.h"
#include "game/save/helpers/BigSave.h"
#include "platform/ChildProcess.h"
#include "platform/FaultyFileSystem.h"
#include "platform/FileSystem.h"

namespace Kelvane {
namespace {

namespace fs = std::filesystem;
using testing::BigPlay;
using testing::readFile;
using ZarvoTest::FaultCase;
using ZarvoTest::Leftovers;

std::string text(const std::vector<uint8_t>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

class SaveGameFaultTest : public ::testing::TestWithParam<FaultCase> {
protected:
    TempDir dir;
    std::vector<std::string> popups;
    SaveGame save{(dir.Path() / "data").string(),
                  [this](const std::string& line) { popups.push_back(line); }};
};

TEST_P(SaveGameFaultTest, AFailedSaveIsToldAndTheEarlierSaveStaysWhole) {
    const FaultCase& c = GetParam();
    const BigPlay earlier(0), later(1);
    ASSERT_TRUE(save.writeSave(earlier.gamePlay, earlier.profile));
    bool written = false;
    {
        ZarvoTest::FaultyFileSystem faulty(c.fault);
        Zarvo::ScopedFileSystem installed(faulty);
        written = save.writeSave(later.gamePlay, later.profile);
    }
    const BigPlay& expected = c.error == 0 ? later : earlier;
    EXPECT_EQ(written, c.error == 0);
    EXPECT_EQ(readFile(save.path()), text(expected.bytes()));
    if (c.error == 0) {
        EXPECT_TRUE(popups.empty());
    } else {
        EXPECT_EQ(popups, std::vector<std::string>{std::string(SaveGame::kUnwritableText) + ": " +
                                                   std::strerror(c.error)});
    }
    EXPECT_EQ(Leftovers(dir.Path() / "data", {SaveGame::kFileName}).size(), c.tempLeft ? 1u : 0u);

    BigPlay loaded(1);
    loaded.gamePlay.startWorldTour();
    ASSERT_TRUE(save.loadSave(loaded.gamePlay, loaded.profile));
    EXPECT_EQ(loaded.bytes(), expected.bytes());
}

INSTANTIATE_TEST_SUITE_P(Faults, SaveGameFaultTest, ::testing::ValuesIn(ZarvoTest::kWriteFaults),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SaveGameKillTest, AWriterKilledWhileSavingLeavesTheOldOrTheNewSaveWhole) {
    const fs::path writer = fs::path(KELVANE_BINARY_DIR) / "save_writer";
    ASSERT_TRUE(fs::exists(writer));
    TempDir dir;
    const std::string folder = (dir.Path() / "data").string();
    const SaveGame save(folder, nullptr);
    const std::string first = text(BigPlay(0).bytes());
    const std::string second = text(BigPlay(1).bytes());
    const BigPlay start(0);
    ASSERT_TRUE(save.writeSave(start.gamePlay, start.profile));

    // The moments of the kills are drawn at random; what is checked holds for any of them.
    std::mt19937 random(20261210);
    std::uniform_int_distribution<int> pause(0, 4000);
    constexpr int kKills = 30;
    int killedMidway = 0;
    for (int round = 0; round < kKills; ++round) {
        const std::string log = dir / ("writer" + std::to_string(round) + ".txt");
        Zarvo::ChildProcess child;
        ASSERT_TRUE(child.Start({writer.string(), folder}, {}, log));
        // Once it has saved at least once, it is busy saving whenever it is killed.
        for (int wait = 0; wait < 20000 && readFile(log).empty(); ++wait)
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        std::this_thread::sleep_for(std::chrono::microseconds(pause(random)));
        child.Kill();
        ASSERT_EQ(child.Wait(10000), 128 + 9) << readFile(log);

        const std::string content = readFile(save.path());
        EXPECT_TRUE(content == first || content == second)
            << "round " << round << ": " << content.size() << " bytes";
        BigPlay loaded(0);
        loaded.gamePlay.startWorldTour();
        EXPECT_TRUE(save.loadSave(loaded.gamePlay, loaded.profile)) << "round " << round;
        killedMidway += Leftovers(folder, {SaveGame::kFileName}).empty() ? 0 : 1;
    }
    // Where the random kills land depends on the machine; one more writer is killed for sure
    // between writing its temporary file and renaming it.
    {
        const std::string log = dir / "held.txt";
        Zarvo::ChildProcess child;
        ASSERT_TRUE(child.Start({writer.string(), folder, "hold"}, {}, log));
        for (int wait = 0; wait < 120000 && readFile(log).find("renaming") == std::string::npos;
             ++wait)
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        ASSERT_NE(readFile(log).find("renaming"), std::string::npos) << readFile(log);
        child.Kill();
        ASSERT_EQ(child.Wait(10000), 128 + 9) << readFile(log);
        // Its first save went through; the second one, written whole, was never renamed.
        EXPECT_EQ(readFile(save.path()), first);
        EXPECT_FALSE(Leftovers(folder, {SaveGame::kFileName}).empty());
        ++killedMidway;
    }
    EXPECT_GT(killedMidway, 0);

    // A writer that finishes takes away what the killed ones left.
    Zarvo::ChildProcess last;
    ASSERT_TRUE(last.Start({writer.string(), folder, "1"}, {}, dir / "last.txt"));
    ASSERT_EQ(last.Wait(60000), 0) << readFile(dir.Path() / "last.txt");
    EXPECT_EQ(readFile(save.path()), first);
    EXPECT_EQ(Leftovers(folder, {SaveGame::kFileName}), std::vector<std::string>{});
}

}  // namespace
}  // namespace Kelvane

#include "game/save/SaveGame.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "files/Buffer.h"
#include "files/PakBuilder.h"
#include "files/PakInterface.h"
#include "files/TempDir.h"
#include "game/save/Profile.h"
#include "game/save/SaveRecord.h"
#include "game/tour/GamePlay.h"

using namespace Kelvane;

namespace {

std::vector<uint8_t> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A tour and a profile as they are after the world tour was chosen.
struct Play {
    Profile profile;
    GamePlay gamePlay{profile};
    Play() { gamePlay.startWorldTour(); }
};

struct SaveGameTest : ::testing::Test {
    TempDir dir;
    std::vector<std::string> popups;
    SaveGame save{(dir.Path() / "data").string(),
                  [this](const std::string& text) { popups.push_back(text); }};

    void writeBytes(const std::vector<uint8_t>& bytes) { dir.Write("data/saveGame.dat", bytes); }

    // A valid save of Brazil at stage 0, built the way the game writes it.
    std::vector<uint8_t> freshBrazilSave() {
        Play p;
        p.profile.setTeam(p.gamePlay.findNation(1));
        Zarvo::Buffer b;
        SaveRecord::fromPlay(p.gamePlay, p.profile).write(b);
        return b.Bytes();
    }
};

TEST_F(SaveGameTest, LivesInTheGivenFolder) {
    EXPECT_EQ(save.path(), (dir.Path() / "data" / "saveGame.dat").string());
    EXPECT_EQ(SaveGame("/a/b/", nullptr).path(), "/a/b/saveGame.dat");
    EXPECT_EQ(SaveGame("", nullptr).path(), "saveGame.dat");
}

TEST_F(SaveGameTest, FreshBrazilTourIs42BytesAndLoadsBack) {
    Play p;
    p.profile.setTeam(p.gamePlay.findNation(1));
    ASSERT_TRUE(save.writeSave(p.gamePlay, p.profile));
    const std::vector<uint8_t> expected = {
        0,    0,                                           // stage 0
        0,    0,                                           // replay, completed
        1,    0,                                           // Brazil
        1,    0,    ' ', 1, 0, ' ', 1, 0, ' ', 1, 0, ' ',  // the four text fields
        0x80, 0x0C, 0,   0,                                // 3200 points
        0,    0,    0,   0,                                // last match points
        0,    0,    0,   0, 0, 0,   0, 0, 0,   0, 0, 0,   0, 0, 0, 0};
    EXPECT_EQ(ReadFile(save.path()), expected);
    EXPECT_TRUE(save.saveExists());

    Play loaded;
    loaded.profile.totalPoints = 5;
    ASSERT_TRUE(save.loadSave(loaded.gamePlay, loaded.profile));
    EXPECT_EQ(loaded.gamePlay.currentStage()->index, 0);
    EXPECT_FALSE(loaded.gamePlay.replay());
    EXPECT_FALSE(loaded.gamePlay.completed());
    ASSERT_NE(loaded.profile.team, nullptr);
    EXPECT_EQ(loaded.profile.team->name, "Brazil");
    EXPECT_EQ(loaded.profile.team, loaded.gamePlay.findNation(1));
    EXPECT_EQ(loaded.profile.totalPoints, 3200);
    EXPECT_EQ(loaded.profile.redCards + loaded.profile.yellowCards + loaded.profile.injuries +
                  loaded.profile.offsideFlags + loaded.profile.lastMatchPoints,
              0);
    for (const auto& s : loaded.gamePlay.stages()) EXPECT_FALSE(s->completed);
    EXPECT_TRUE(popups.empty());
}

TEST_F(SaveGameTest, EveryProfileValueRoundTripsAndShortsKeepTheirLow16Bits) {
    Play p;
    p.profile.setTeam(p.gamePlay.findNation(6));
    ASSERT_TRUE(p.gamePlay.restoreTourPosition(12, true, false));
    Profile& pr = p.profile;
    pr.textFields = {"one", "", "three", std::string(300, 'x')};
    pr.totalPoints = -123456;
    pr.lastMatchPoints = 2147483647;
    pr.redCards = 70000;  // low 16 bits: 4464
    pr.yellowCards = -3;
    pr.offsideFlags = 40000;  // reads back sign-extended
    pr.injuries = 2;
    pr.injuryFill = 10;
    pr.redCardFill = 20;
    pr.yellowCardFill = 30;
    pr.offsideFill = 99;
    ASSERT_TRUE(save.writeSave(p.gamePlay, pr));

    Play loaded;
    ASSERT_TRUE(save.loadSave(loaded.gamePlay, loaded.profile));
    const Profile& l = loaded.profile;
    EXPECT_EQ(l.team->name, "U.S.A.");
    EXPECT_EQ(loaded.gamePlay.currentStage()->opponent->name, "New York");
    EXPECT_TRUE(loaded.gamePlay.replay());
    for (const auto& s : loaded.gamePlay.stages()) EXPECT_EQ(s->completed, s->index < 12);
    EXPECT_EQ(l.textFields, pr.textFields);
    EXPECT_EQ(l.totalPoints, -123456);
    EXPECT_EQ(l.lastMatchPoints, 2147483647);
    EXPECT_EQ(l.redCards, 4464);
    EXPECT_EQ(l.yellowCards, -3);
    EXPECT_EQ(l.offsideFlags, 40000 - 65536);
    EXPECT_EQ(l.injuries, 2);
    EXPECT_EQ(l.injuryFill, 10);
    EXPECT_EQ(l.redCardFill, 20);
    EXPECT_EQ(l.yellowCardFill, 30);
    EXPECT_EQ(l.offsideFill, 99);
}

TEST_F(SaveGameTest, CompletedTourLoadsWithEveryStageCompleted) {
    Play p;
    p.profile.setTeam(p.gamePlay.findNation(4));
    ASSERT_TRUE(p.gamePlay.restoreTourPosition(45, false, false));
    ASSERT_TRUE(p.gamePlay.prepareTourMatch());
    p.gamePlay.currentMatch()->scoreA = 0;
    p.gamePlay.currentMatch()->scoreB = 1;
    p.gamePlay.finishMatch();
    ASSERT_TRUE(p.gamePlay.completed());
    ASSERT_TRUE(save.writeSave(p.gamePlay, p.profile));

    Play loaded;
    ASSERT_TRUE(save.loadSave(loaded.gamePlay, loaded.profile));
    EXPECT_TRUE(loaded.gamePlay.completed());
    EXPECT_EQ(loaded.gamePlay.currentStage()->index, 0);
    for (const auto& s : loaded.gamePlay.stages()) EXPECT_TRUE(s->completed) << s->index;
}

TEST_F(SaveGameTest, MissingSaveAnswersFalseSilently) {
    EXPECT_FALSE(save.saveExists());
    Play p;
    EXPECT_FALSE(save.loadSave(p.gamePlay, p.profile));
    EXPECT_TRUE(popups.empty());
    save.deleteSave();  // nothing to delete: harmless
}

TEST_F(SaveGameTest, TruncatedSaveLoadsZerosForWhatIsMissing) {
    const std::vector<uint8_t> full = freshBrazilSave();
    ASSERT_EQ(full.size(), 42u);
    struct Case {
        size_t length;
        int teamId;
        int totalPoints;
        std::string firstText;
    };
    const Case cases[] = {
        {0, 0, 0, ""},                    // nothing at all: stage 0, France, no points
        {5, 1, 0, ""},                    // the team id's high byte is missing
        {8, 1, 0, std::string("\0", 1)},  // the first text's byte is missing
        {19, 1, 0x80, " "},               // the points lose their upper three bytes
        {41, 1, 3200, " "},
    };
    for (const Case& c : cases) {
        writeBytes(std::vector<uint8_t>(full.begin(), full.begin() + c.length));
        EXPECT_TRUE(save.saveExists()) << c.length;
        Play p;
        p.profile.setTeam(p.gamePlay.findNation(7));
        p.profile.redCards = 9;
        ASSERT_TRUE(save.loadSave(p.gamePlay, p.profile)) << c.length;
        EXPECT_EQ(p.gamePlay.currentStage()->index, 0) << c.length;
        EXPECT_EQ(p.profile.team->id, c.teamId) << c.length;
        EXPECT_EQ(p.profile.totalPoints, c.totalPoints) << c.length;
        EXPECT_EQ(p.profile.textFields[0], c.firstText) << c.length;
        EXPECT_EQ(p.profile.redCards, 0) << c.length;
    }
    EXPECT_TRUE(popups.empty());
}

TEST_F(SaveGameTest, SaveNamingNoStageOrNationIsUnreadableAndChangesNothing) {
    struct Case {
        int stageIndex;
        int teamId;
    };
    const Case cases[] = {{-1, 1}, {46, 1}, {32767, 1}, {-32768, 1},
                          {0, -1}, {0, 8},  {45, 100},  {50, 50}};
    for (const Case& c : cases) {
        SaveRecord r;
        r.stageIndex = c.stageIndex;
        r.teamId = c.teamId;
        r.totalPoints = 777;
        r.completed = true;
        Zarvo::Buffer b;
        r.write(b);
        writeBytes(b.Bytes());

        Play p;
        Team* italy = p.gamePlay.findNation(7);
        p.profile.setTeam(italy);
        popups.clear();
        EXPECT_FALSE(save.loadSave(p.gamePlay, p.profile)) << c.stageIndex << "/" << c.teamId;
        ASSERT_EQ(popups, std::vector<std::string>{"Could not read contents of saveGame.dat"});
        // A fresh tour still in place: first stage current, nothing completed, team kept.
        EXPECT_EQ(p.gamePlay.currentStage(), p.gamePlay.firstStage());
        EXPECT_FALSE(p.gamePlay.completed());
        for (const auto& s : p.gamePlay.stages()) EXPECT_FALSE(s->completed);
        EXPECT_EQ(p.profile.team, italy);
        EXPECT_EQ(p.profile.totalPoints, 2800);
    }
}

TEST_F(SaveGameTest, GarbageNeverLeavesTheGameWithoutAStageOrATeam) {
    std::vector<std::vector<uint8_t>> inputs = {
        std::vector<uint8_t>(42, 0xFF),
        std::vector<uint8_t>(3, 0x7F),
        std::vector<uint8_t>(200000, 0x41),  // string lengths far past the data
        {0x05, 0x00, 0x02, 0x00, 0x02, 0x00, 0xFF, 0x7F}};
    uint32_t seed = 1;
    for (int i = 0; i < 50; ++i) {
        std::vector<uint8_t> bytes(static_cast<size_t>(i) * 3);
        for (uint8_t& byte : bytes) {
            seed = seed * 1103515245u + 12345u;
            byte = static_cast<uint8_t>(seed >> 16);
        }
        if (bytes.size() >= 6) {
            bytes[1] = 0;  // keep some records plausible so that both outcomes are exercised
            bytes[5] = 0;
            bytes[0] %= 50;
            bytes[4] %= 10;
        }
        inputs.push_back(bytes);
    }
    for (const auto& bytes : inputs) {
        writeBytes(bytes);
        Play p;
        p.profile.setTeam(p.gamePlay.findNation(2));
        popups.clear();
        const bool loaded = save.loadSave(p.gamePlay, p.profile);
        ASSERT_NE(p.gamePlay.currentStage(), nullptr);
        ASSERT_NE(p.profile.team, nullptr);
        EXPECT_EQ(popups.empty(), loaded) << bytes.size();
    }
}

TEST_F(SaveGameTest, FolderInPlaceOfTheFileIsUnreadable) {
    std::filesystem::create_directories(save.path());
    EXPECT_FALSE(save.saveExists());
    Play p;
    EXPECT_FALSE(save.loadSave(p.gamePlay, p.profile));
    EXPECT_EQ(popups, std::vector<std::string>{SaveGame::kUnreadableText});
    save.deleteSave();
    EXPECT_TRUE(std::filesystem::is_directory(save.path()));
}

TEST_F(SaveGameTest, TextsAreKeptUpToTheirLimitAndCutBeyondIt) {
    for (const size_t length : {SaveRecord::kMaxTextBytes, SaveRecord::kMaxTextBytes + 1}) {
        Play p;
        p.profile.setTeam(p.gamePlay.findNation(1));
        p.profile.textFields = {std::string(length, 'a'), "b", std::string(length, 'c'), "d"};
        ASSERT_TRUE(save.writeSave(p.gamePlay, p.profile));
        Play loaded;
        ASSERT_TRUE(save.loadSave(loaded.gamePlay, loaded.profile)) << length;
        const std::array<std::string, 4> expected = {
            std::string(SaveRecord::kMaxTextBytes, 'a'), "b",
            std::string(SaveRecord::kMaxTextBytes, 'c'), "d"};
        EXPECT_EQ(loaded.profile.textFields, expected) << length;
        EXPECT_EQ(loaded.profile.totalPoints, 3200) << length;
    }
}

TEST_F(SaveGameTest, OversizedFileIsUnreadable) {
    writeBytes(std::vector<uint8_t>(SaveGame::kMaxFileBytes + 1, 0));
    EXPECT_FALSE(save.saveExists());
}

TEST_F(SaveGameTest, NothingToSaveKeepsTheEarlierSave) {
    writeBytes(freshBrazilSave());
    Play noTeam;
    EXPECT_FALSE(save.writeSave(noTeam.gamePlay, noTeam.profile));
    Profile profile;
    GamePlay noTour(profile);
    EXPECT_FALSE(save.writeSave(noTour, profile));
    EXPECT_EQ(ReadFile(save.path()), freshBrazilSave());
}

TEST_F(SaveGameTest, WriteReplacesTheSaveWholeAndDeleteRemovesIt) {
    writeBytes(std::vector<uint8_t>(500, 0xEE));
    Play p;
    p.profile.setTeam(p.gamePlay.findNation(1));
    ASSERT_TRUE(save.writeSave(p.gamePlay, p.profile));
    EXPECT_EQ(ReadFile(save.path()), freshBrazilSave());
    // Only the save itself is left in the folder: no temporary file.
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path() / "data")) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 1u);
    save.deleteSave();
    EXPECT_FALSE(std::filesystem::exists(save.path()));
    EXPECT_FALSE(save.saveExists());
}

TEST_F(SaveGameTest, FailedWriteReportsFalse) {
    dir.Write("blocker", std::string("a file where a folder should be"));
    SaveGame blocked((dir.Path() / "blocker" / "sub").string(), nullptr);
    Play p;
    p.profile.setTeam(p.gamePlay.findNation(1));
    EXPECT_FALSE(blocked.writeSave(p.gamePlay, p.profile));
}

TEST_F(SaveGameTest, SaveIsReadThroughTheArchiveLayer) {
    // The pack file is looked into before the file system.
    Zarvo::PakBuilder builder;
    ASSERT_TRUE(builder.AddFile("saveGame.dat", freshBrazilSave()));
    dir.Write("main.pak", builder.Build());
    dir.Enter();
    auto pak = std::make_unique<Zarvo::PakInterface>();
    ASSERT_EQ(Zarvo::PakInterface::Instance(), pak.get());
    ASSERT_TRUE(pak->AddPakFile("main.pak"));
    SaveGame inWorkingDirectory("", nullptr);
    Play p;
    ASSERT_TRUE(inWorkingDirectory.loadSave(p.gamePlay, p.profile));
    EXPECT_EQ(p.profile.team->name, "Brazil");
    EXPECT_FALSE(std::filesystem::exists("saveGame.dat"));
}

}  // namespace

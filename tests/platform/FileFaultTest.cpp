// Writes of the player's files under a failing file system: each failure is reported where the
// system reports it, the earlier file stays whole and byte for byte as it was, and no temporary
// file is left where one can be cleaned up.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "FaultyFileSystem.h"
#include "TempFolder.h"
#include "platform/AtomicFile.h"
#include "platform/FileSystem.h"
#include "platform/IniSettingsStore.h"
#include "platform/SettingsValues.h"

using namespace Zarvo;
using ZarvoTest::FaultCase;
using ZarvoTest::FaultyFileSystem;
using ZarvoTest::Leftovers;
using ZarvoTest::TempFolder;

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class FileFaultTest : public ::testing::TestWithParam<FaultCase> {
protected:
    // Large enough that a write is cut into parts.
    const std::string oldText = "old:" + std::string(100000, 'o');
    const std::string newText = "new:" + std::string(150000, 'n');
    TempFolder dir;
};

TEST_P(FileFaultTest, AtomicFileReportsTheFailureAndKeepsTheOldFile) {
    const FaultCase& c = GetParam();
    const std::string path = dir / "file.dat";
    ASSERT_TRUE(AtomicFile::Write(path, oldText.data(), oldText.size()));
    bool written = false;
    int error = 0;
    {
        FaultyFileSystem faulty(c.fault);
        ScopedFileSystem installed(faulty);
        errno = 0;
        written = AtomicFile::Write(path, newText.data(), newText.size());
        error = errno;
    }
    EXPECT_EQ(&FileSystem::Current(), &FileSystem::Real());
    if (c.error == 0) {
        EXPECT_TRUE(written);
        EXPECT_EQ(ReadAll(path), newText);
    } else {
        EXPECT_FALSE(written);
        EXPECT_EQ(error, c.error) << std::strerror(error);
        EXPECT_EQ(ReadAll(path), oldText);
    }
    EXPECT_EQ(Leftovers(dir.Path(), {"file.dat"}).size(), c.tempLeft ? 1u : 0u);

    // The next write that works replaces the file and leaves nothing else.
    ASSERT_TRUE(AtomicFile::Write(path, "after", 5));
    EXPECT_EQ(ReadAll(path), "after");
    EXPECT_EQ(Leftovers(dir.Path(), {"file.dat"}), std::vector<std::string>{});
}

TEST_P(FileFaultTest, TheSettingsStoreReportsTheFailureAndKeepsItsValues) {
    const FaultCase& c = GetParam();
    const std::string path = dir / "settings.ini";
    std::vector<std::string> lines;
    IniSettingsStore store(path, [&lines](const std::string& line) { lines.push_back(line); });
    ASSERT_TRUE(store.Write("", "Volume", SettingsValues::kDword, {85, 0, 0, 0}));
    const std::string before = ReadAll(path);
    bool written = false;
    {
        FaultyFileSystem faulty(c.fault);
        ScopedFileSystem installed(faulty);
        written = store.Write("", "Volume", SettingsValues::kDword, {10, 0, 0, 0});
    }
    uint32_t type = 0;
    std::vector<uint8_t> volume;
    ASSERT_TRUE(store.Read("", "Volume", type, volume));
    if (c.error == 0) {
        EXPECT_TRUE(written);
        EXPECT_EQ(volume[0], 10);
        EXPECT_TRUE(lines.empty());
    } else {
        EXPECT_FALSE(written);
        EXPECT_EQ(volume[0], 85);
        EXPECT_EQ(ReadAll(path), before);
        EXPECT_EQ(lines, std::vector<std::string>{"Cannot save the settings to " + path + ": " +
                                                  std::strerror(c.error)});
    }
    EXPECT_EQ(Leftovers(dir.Path(), {"settings.ini"}).size(), c.tempLeft ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Faults, FileFaultTest, ::testing::ValuesIn(ZarvoTest::kWriteFaults),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ScopedFileSystem, NestsAndPutsTheRealOneBack) {
    FaultyFileSystem outer(ZarvoTest::Fault::NoSpace);
    FaultyFileSystem inner(ZarvoTest::Fault::DeniedOpen);
    {
        ScopedFileSystem a(outer);
        {
            ScopedFileSystem b(inner);
            EXPECT_EQ(&FileSystem::Current(), &inner);
        }
        EXPECT_EQ(&FileSystem::Current(), &outer);
    }
    EXPECT_EQ(&FileSystem::Current(), &FileSystem::Real());
}

TEST(AtomicFile, RemovesTheTemporaryFilesOfWritersThatDiedButNotOfLiveOnes) {
    TempFolder dir;
    const std::string path = dir / "save.dat";
    // No process has this id (above the kernel's limit); the test runner itself is alive.
    const std::string dead = path + ".tmp.999999999";
    const std::string alive = path + ".tmp.1";
    const std::string other = dir / "other.dat.tmp.999999999";
    for (const std::string& p : {dead, alive, other}) std::ofstream(p) << "partial";
    ASSERT_TRUE(AtomicFile::Write(path, "whole", 5));
    EXPECT_FALSE(std::filesystem::exists(dead));
    EXPECT_TRUE(std::filesystem::exists(alive));
    EXPECT_TRUE(std::filesystem::exists(other));
}

}  // namespace

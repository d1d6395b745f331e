// The allocation table and its leak report: the report's text for a table, and whole runs in a
// child process (this test program started again), where the report is written at exit.
#include "diagnostics/AllocationTracker.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <sstream>
#include <string>

#include "files/TempDir.h"
#include "platform/ChildProcess.h"

namespace Zarvo {
namespace {

namespace fs = std::filesystem;

const char kDate[] = "Thu Dec 10 10:41:50 2026";
const std::string kHyphens(59, '-');

struct Allocation {
    int size;
    int line;
};

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(AllocationTrackerTest, ReportListsEachLeakWithByteOrBytesAndTheTotal) {
    // Addresses of a local array stand in for allocations: the table only records them.
    char slots[4];
    struct Case {
        int size;
        const char* expected;
    };
    const Case cases[] = {{1, ".\\Leaky.cpp(10) : Leak 1 byte\n"},
                          {2, ".\\Leaky.cpp(11) : Leak 2 bytes\n"},
                          {997, ".\\Leaky.cpp(12) : Leak 997 bytes\n"},
                          {500, ".\\Leaky.cpp(13) : Leak 500 bytes\n"}};
    const long long before = TrackedBytes();
    for (int i = 0; i < 4; ++i) AddTrack(&slots[i], cases[i].size, ".\\Leaky.cpp", 10 + i);
    EXPECT_EQ(TrackedBytes() - before, 1500);

    const std::string text = LeakReportText(kDate);
    EXPECT_EQ(text.rfind("Memory Leak Report for Thu Dec 10 10:41:50 2026\n", 0), 0u) << text;
    size_t previous = 0;
    for (const Case& c : cases) {
        const size_t at = text.find(c.expected);
        ASSERT_NE(at, std::string::npos) << c.expected << "\nin\n" << text;
        EXPECT_GT(at, previous) << "records come in address order";
        previous = at;
    }
    if (before == 0) {
        EXPECT_NE(text.find(kHyphens + "\nTotal Unfreed: 1500 bytes (1KB)\n\n"), std::string::npos)
            << text;
    }
    for (char& slot : slots) RemoveTrack(&slot);
    EXPECT_EQ(TrackedBytes(), before);
    EXPECT_TRUE(TrackedAnything());
}

TEST(AllocationTrackerTest, KnewIsTrackedAndPlainDeleteReleasesIt) {
    const long long before = TrackedBytes();
    auto* numbers = KNEW int[25];
    auto* one = KNEW char('x');
    EXPECT_EQ(TrackedBytes() - before, 25 * 4 + 1);
    const std::string text = LeakReportText(kDate);
    EXPECT_TRUE(std::regex_search(
        text, std::regex(R"(\.\\AllocationTrackerTest\.cpp\([0-9]+\) : Leak 100 bytes)")))
        << text;
    EXPECT_NE(text.find(") : Leak 1 byte\n"), std::string::npos) << text;
    delete[] numbers;
    delete one;
    EXPECT_EQ(TrackedBytes(), before);
}

TEST(AllocationTrackerTest, ReleasingWhatWasNeverTrackedIsHarmless) {
    const long long before = TrackedBytes();
    auto plain = std::make_unique<int>(7);  // the plain form records nothing
    int local = 0;
    RemoveTrack(&local);
    RemoveTrack(nullptr);
    plain.reset();
    EXPECT_EQ(TrackedBytes(), before);
}

TEST(AllocationTrackerTest, LongFileNamesAreCutAt260Characters) {
    char slot;
    const std::string name(400, 'f');
    AddTrack(&slot, 3, name.c_str(), 1);
    const std::string text = LeakReportText(kDate);
    EXPECT_NE(text.find(std::string(260, 'f') + "(1) : Leak 3 bytes"), std::string::npos);
    EXPECT_EQ(text.find(std::string(261, 'f')), std::string::npos);
    RemoveTrack(&slot);
}

// ---- Whole runs. The child is this program with a filter for the test below and the scenario
// in the environment; it runs in its own folder and ends through exit(), like the game.

// Released only during static destruction, after the table's tear-down (this file's globals are
// built before the framework library's, so they go after it).
struct LateRelease {
    int* object = nullptr;
    ~LateRelease() { delete object; }
} gLateRelease;

TEST(AllocationTrackerChild, DISABLED_Run) {
    const char* scenario = std::getenv("KELVANE_TRACKER_SCENARIO");
    const char* folder = std::getenv("KELVANE_TRACKER_FOLDER");
    if (!scenario || !folder) GTEST_SKIP() << "only runs as the child of the tests below";
    fs::current_path(folder);
    const std::string name = scenario;
    if (name == "released") {
        for (int i = 0; i < 10; ++i) delete KNEW std::string("object");
    } else if (name == "leaks") {
        (void)KNEW char[1499];
        (void)KNEW char('x');
    } else if (name == "late") {
        gLateRelease.object = KNEW int(5);
    }
    std::exit(0);
}

class AllocationTrackerRunTest : public ::testing::Test {
protected:
    TempDir folder;

    int RunChild(const std::string& scenario) {
        ChildProcess child;
        const std::string self = fs::read_symlink("/proc/self/exe").string();
        EXPECT_TRUE(child.Start({self, "--gtest_filter=AllocationTrackerChild.DISABLED_Run",
                                 "--gtest_also_run_disabled_tests"},
                                {"KELVANE_TRACKER_SCENARIO=" + scenario,
                                 "KELVANE_TRACKER_FOLDER=" + folder.Path().string()},
                                folder / "output.txt"));
        return child.Wait(20000);
    }
    fs::path Report() const { return folder.Path() / "mem_leaks.txt"; }
};

TEST_F(AllocationTrackerRunTest, ARunThatNeverTracksWritesNoReport) {
    ASSERT_EQ(RunChild("none"), 0) << ReadFile(folder.Path() / "output.txt");
    EXPECT_FALSE(fs::exists(Report()));
}

TEST_F(AllocationTrackerRunTest, ARunThatReleasedEverythingReportsZero) {
    ASSERT_EQ(RunChild("released"), 0) << ReadFile(folder.Path() / "output.txt");
    const std::string text = ReadFile(Report());
    EXPECT_TRUE(std::regex_match(
        text, std::regex("Memory Leak Report for [A-Z][a-z]{2} [A-Z][a-z]{2} [ 0-9]{2} "
                         "[0-9]{2}:[0-9]{2}:[0-9]{2} [0-9]{4}\n" +
                         kHyphens + "\nTotal Unfreed: 0 bytes \\(0KB\\)\n\n")))
        << text;
    // The same report goes to standard error, after one empty line.
    EXPECT_NE(ReadFile(folder.Path() / "output.txt").find("\nMemory Leak Report for "),
              std::string::npos);
}

TEST_F(AllocationTrackerRunTest, ARunWithLeaksReportsThem) {
    ASSERT_EQ(RunChild("leaks"), 0) << ReadFile(folder.Path() / "output.txt");
    const std::string text = ReadFile(Report());
    EXPECT_TRUE(std::regex_search(text, std::regex(R"(\(\d+\) : Leak 1499 bytes\n)"))) << text;
    EXPECT_TRUE(std::regex_search(text, std::regex(R"(\(\d+\) : Leak 1 byte\n)"))) << text;
    EXPECT_NE(text.find("Total Unfreed: 1500 bytes (1KB)\n\n"), std::string::npos) << text;
}

TEST_F(AllocationTrackerRunTest, ReleasingAfterTheTearDownIsHarmless) {
    ASSERT_EQ(RunChild("late"), 0) << ReadFile(folder.Path() / "output.txt");
    EXPECT_TRUE(fs::exists(Report()));
}

}  // namespace
}  // namespace Zarvo

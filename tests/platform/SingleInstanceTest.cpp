// The single-running-copy guard, between real processes.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "TempFolder.h"
#include "platform/ChildProcess.h"
#include "platform/SingleInstanceGuard.h"

using namespace Zarvo;
using ZarvoTest::TempFolder;

namespace {

const std::string kProgram = std::string(KELVANE_BINARY_DIR) + "/kelvane";

std::vector<std::string> Environment(const TempFolder& dir) {
    return {"XDG_RUNTIME_DIR=" + dir.Path(), "XDG_CONFIG_HOME=" + dir.Path() + "/config",
            "XDG_DATA_HOME=" + dir.Path() + "/data", "SDL_VIDEODRIVER=dummy",
            "SDL_AUDIODRIVER=dummy"};
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Polls until `done` holds; the limit only keeps a broken build from hanging the suite.
template <class F>
bool Eventually(F done) {
    for (int i = 0; i < 1000; ++i) {
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return done();
}

TEST(SingleInstanceGuard, TheFirstHolderWinsAndHearsTheOthers) {
    TempFolder dir;
    SingleInstanceGuard first(dir.Path(), "Product");
    ASSERT_TRUE(first.Acquire());
    EXPECT_TRUE(SingleInstanceGuard::IsHeld(dir.Path(), "Product"));
    SingleInstanceGuard second(dir.Path(), "Product");
    EXPECT_FALSE(second.Acquire());
    EXPECT_TRUE(second.Notify(0, 0));
    uint64_t w = 9;
    int64_t l = 9;
    ASSERT_TRUE(first.PollNotify(w, l));
    EXPECT_EQ(w, 0u);
    EXPECT_EQ(l, 0);
    EXPECT_FALSE(first.PollNotify(w, l));
    SingleInstanceGuard other(dir.Path(), "Other");
    EXPECT_TRUE(other.Acquire());
}

TEST(SingleInstanceGuard, ReleasedWithItsOwner) {
    TempFolder dir;
    {
        SingleInstanceGuard first(dir.Path(), "Product");
        ASSERT_TRUE(first.Acquire());
    }
    EXPECT_FALSE(SingleInstanceGuard::IsHeld(dir.Path(), "Product"));
    SingleInstanceGuard again(dir.Path(), "Product");
    EXPECT_TRUE(again.Acquire());
    // Nobody listens on a folder without a holder.
    TempFolder empty;
    EXPECT_FALSE(SingleInstanceGuard(empty.Path(), "Product").Notify(0, 0));
}

TEST(SingleInstanceGuard, AnInertGuardLetsEveryCopyRun) {
    SingleInstanceGuard a("", "Product"), b("", "Product");
    EXPECT_TRUE(a.Acquire());
    EXPECT_TRUE(b.Acquire());
}

TEST(SingleInstanceGuard, ASecondProgramNotifiesTheRunningOneAndExitsWithZero) {
    TempFolder dir;
    const std::string firstLog = dir / "first.log", secondLog = dir / "second.log";
    ChildProcess first;
    ASSERT_TRUE(first.Start({kProgram}, Environment(dir), firstLog));
    ASSERT_TRUE(Eventually([&] { return SingleInstanceGuard::IsHeld(dir.Path(), "Kelvane"); }))
        << ReadAll(firstLog);

    ChildProcess second;
    ASSERT_TRUE(second.Start({kProgram}, Environment(dir), secondLog));
    EXPECT_EQ(second.Wait(20000), 0) << ReadAll(secondLog);
    // The second copy never opened a window, so it never ran a loop.
    EXPECT_EQ(ReadAll(secondLog).find("Update Count"), std::string::npos) << ReadAll(secondLog);
    EXPECT_TRUE(Eventually([&] {
        return ReadAll(firstLog).find("raising the window") != std::string::npos;
    })) << ReadAll(firstLog);

    // The first copy ends cleanly on a termination signal and reports its statistics.
    first.Terminate();
    EXPECT_EQ(first.Wait(20000), 0);
    const std::string log = ReadAll(firstLog);
    for (const char* line : {"Seconds       = ", "Sleep Count   = ", "Update Count  = ",
                             "Draw Count    = ", "Draw Time     = ", "Screen Blt    = "}) {
        EXPECT_NE(log.find(line), std::string::npos) << line << "\n" << log;
    }
    EXPECT_FALSE(SingleInstanceGuard::IsHeld(dir.Path(), "Kelvane"));
}

}  // namespace

// Recording a run's input into a demo file and replaying it through the application object, on
// the headless platform with the fake clock.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "TestApp.h"
#include "files/TempDir.h"
#include "frame/DemoFile.h"
#include "frame/DemoPlayer.h"
#include "frame/DemoRecorder.h"

using Zarvo::DemoEvent;
using Zarvo::DemoFile;
using Zarvo::DemoRecording;
using Zarvo::WindowMessage;
namespace Msg = Zarvo::Msg;
using ZarvoTest::TestApp;

namespace {

// A full-window widget that writes down every input it gets with the update count.
class InputLog : public Zarvo::Widget {
public:
    explicit InputLog(const int* updates) : updates_(updates) {}
    bool TakesFocusOnClick() override { return true; }
    void OnMouseMove(int x, int y) override { Add("move", x, y); }
    void OnMouseDown(int x, int y, int clicks) override { Add("down", x, y, clicks); }
    void OnMouseUp(int x, int y, int clicks) override { Add("up", x, y, clicks); }
    void OnMouseWheel(int delta) override { Add("wheel", delta); }
    void OnKeyDown(int key) override { Add("key", key); }
    void OnKeyUp(int key) override { Add("keyup", key); }
    void OnKeyChar(char c) override { Add("char", static_cast<unsigned char>(c)); }
    void OnMouseLeave() override { Add("leave"); }
    void OnLostFocus() override { Add("lostfocus"); }

    std::vector<std::string> entries;

private:
    void Add(const char* what, int a = 0, int b = 0, int c = 0) {
        char text[96];
        std::snprintf(text, sizeof text, "%d %s %d %d %d", *updates_, what, a, b, c);
        entries.emplace_back(text);
    }
    const int* updates_;
};

// The test application with an input log on top and a record of what each update saw.
class DemoApp : public TestApp {
public:
    explicit DemoApp(const std::vector<std::string>& options) : log(&totalUpdates) {
        log.SetBounds(0, 0, width, height);
        GetWidgetManager()->AddChild(&log);
        std::vector<const char*> argv = {"kelvane"};
        for (const std::string& o : options) argv.push_back(o.c_str());
        SetCommandLine(static_cast<int>(argv.size()), argv.data());
        onUpdate = [](TestApp& app) {
            auto& self = static_cast<DemoApp&>(app);
            self.randoms.push_back(app.Random());
            if (app.minimised) self.minimisedUpdates.push_back(app.totalUpdates);
        };
    }
    ~DemoApp() override { GetWidgetManager()->RemoveChild(&log); }
    void LoadingCompleted() override {
        TestApp::LoadingCompleted();
        loadingCompletedAt = totalUpdates;
    }
    // Steps the loop until the application has shut down (a bounded number of steps).
    void RunToEnd() {
        for (int i = 0; i < 1000000 && !IsShutDown(); ++i) LoopStep();
    }
    void Click(int x, int y) {
        Post(Msg::kMouseMove, 0, Msg::PackPoint(x, y));
        Post(Msg::kLButtonDown, Msg::kButtonLeft, Msg::PackPoint(x, y));
        Post(Msg::kLButtonUp, 0, Msg::PackPoint(x, y));
    }

    InputLog log;
    std::vector<uint32_t> randoms;
    std::vector<int> minimisedUpdates;  // updates that ran while minimised
    int loadingCompletedAt = -1;
};

class DemoReplay : public testing::Test {
protected:
    // Records a run: loading completes a little after the start, then clicks, keys, a wheel
    // turn, the focus going and coming, and the window is closed.
    void SetUp() override {
        DemoApp app({"-record", "-demofile=" + demoPath});
        app.hp.ticksBeforeRun = 777000;  // the system's tick count seeds the generator
        app.holdLoading = true;
        app.Init();
        app.BeginBackgroundLoading();
        app.RunFor(55);
        app.holdLoading = false;
        app.AwaitBackgroundLoading();
        app.RunFor(200);
        app.Click(100, 120);
        app.RunFor(100);
        app.Post(Msg::kKeyDown, 'A');
        app.Post(Msg::kChar, 'a');
        app.Post(Msg::kKeyUp, 'A');
        app.Post(Msg::kMouseWheel, static_cast<uint64_t>(static_cast<uint16_t>(-240)) << 16,
                 Msg::PackPoint(100, 120));
        app.RunFor(100);
        app.Post(Msg::kMouseMove, 0, Msg::PackPoint(300, 200));
        app.Post(Msg::kActivateApp, 0);
        app.RunFor(50);
        app.Post(Msg::kActivateApp, 1);
        app.Post(Msg::kSize, Msg::kSizeMinimized);
        app.RunFor(40);
        app.Post(Msg::kSize, Msg::kSizeRestored);
        app.Click(5, 6);
        app.RunFor(30);
        app.Post(Msg::kClose);
        app.RunToEnd();
        recordedLog = app.log.entries;
        recordedRandoms = app.randoms;
        recordedMinimised = app.minimisedUpdates;
        recordedSeed = app.randomSeed;
        recordedLoadingAt = app.loadingCompletedAt;
        recordedUpdates = app.totalUpdates;
        std::string error;
        ASSERT_TRUE(DemoFile::Read(demoPath, recording, error)) << error;
    }

    TempDir folder;
    const std::string demoPath = (folder.Path() / "run.dmo").string();
    std::vector<std::string> recordedLog;
    std::vector<uint32_t> recordedRandoms;
    std::vector<int> recordedMinimised;
    uint32_t recordedSeed = 0;
    int recordedLoadingAt = -1;
    int recordedUpdates = 0;
    DemoRecording recording;
};

TEST_F(DemoReplay, TheRecordingHoldsTheRunsSeedLoadingUpdateEndAndInput) {
    EXPECT_EQ(recording.header.randomSeed, 777000u + 1000u);  // the fake clock starts at 1000
    EXPECT_EQ(recording.header.loadingCompletedUpdate, recordedLoadingAt);
    EXPECT_GT(recordedLoadingAt, 1);
    EXPECT_EQ(recording.header.endUpdate, recordedUpdates);
    ASSERT_FALSE(recording.events.empty());
    EXPECT_EQ(recording.events.back().kind, DemoEvent::Kind::kClose);
    std::vector<DemoEvent::Kind> kinds;
    for (const DemoEvent& e : recording.events) kinds.push_back(e.kind);
    for (DemoEvent::Kind k :
         {DemoEvent::Kind::kPointerMove, DemoEvent::Kind::kPointerPress,
          DemoEvent::Kind::kPointerRelease, DemoEvent::Kind::kKeyDown, DemoEvent::Kind::kChar,
          DemoEvent::Kind::kKeyUp, DemoEvent::Kind::kWheel, DemoEvent::Kind::kFocus}) {
        EXPECT_NE(std::find(kinds.begin(), kinds.end(), k), kinds.end()) << static_cast<int>(k);
    }
}

TEST_F(DemoReplay, EveryEventArrivesAtItsUpdateOnTheSameRandomNumbersTwice) {
    for (int run = 0; run < 2; ++run) {
        DemoApp app({"-play", "-demofile=" + demoPath});
        app.hp.ticksBeforeRun = 5000 + run;  // another tick count: the recording's seed counts
        app.InitAndLoad();
        EXPECT_EQ(app.randomSeed, recordedSeed);
        app.RunToEnd();
        EXPECT_EQ(app.log.entries, recordedLog) << "run " << run;
        EXPECT_EQ(app.randoms, recordedRandoms) << "run " << run;
        EXPECT_EQ(app.minimisedUpdates, recordedMinimised) << "run " << run;
        // Loading finished long before; it is reported where the recording has it.
        EXPECT_EQ(app.loadingCompletedAt, recordedLoadingAt);
        EXPECT_EQ(app.loadingCompletedCalls, 1);
        // The run stops where the recording stops.
        EXPECT_EQ(app.totalUpdates, recordedUpdates);
        EXPECT_TRUE(app.playingDemo);
    }
    ASSERT_FALSE(recordedLog.empty());
    EXPECT_GE(recordedMinimised.size(), 3u);
    // The click at (100, 120) arrived before update 26 or later, after loading.
    EXPECT_NE(std::find_if(recordedLog.begin(), recordedLog.end(),
                           [](const std::string& e) {
                               return e.find(" down 100 120 1") != std::string::npos;
                           }),
              recordedLog.end());
}

TEST_F(DemoReplay, ALoaderSlowerThanTheRecordingHoldsTheReplayAtTheLoadingUpdate) {
    DemoApp app({"-play", "-demofile=" + demoPath});
    app.holdLoading = true;
    app.Init();
    app.BeginBackgroundLoading();
    for (int i = 0; i < 2000; ++i) app.LoopStep();
    EXPECT_EQ(app.totalUpdates, recordedLoadingAt);
    EXPECT_EQ(app.loadingCompletedCalls, 0);
    app.holdLoading = false;
    app.AwaitBackgroundLoading();
    app.RunToEnd();
    EXPECT_EQ(app.loadingCompletedAt, recordedLoadingAt);
    EXPECT_EQ(app.log.entries, recordedLog);
    EXPECT_EQ(app.randoms, recordedRandoms);
}

TEST_F(DemoReplay, LiveInputIsIgnoredButClosingTheWindowEndsTheReplay) {
    DemoApp app({"-play", "-demofile=" + demoPath});
    app.InitAndLoad();
    app.RunFor(20);
    const std::vector<std::string> before = app.log.entries;
    app.Click(400, 300);
    app.Post(Msg::kKeyDown, 'Q');
    app.Post(Msg::kActivateApp, 0);
    EXPECT_TRUE(app.DeferredMessages().Empty());
    EXPECT_TRUE(app.active);
    app.RunFor(10);
    EXPECT_EQ(app.log.entries, before);
    app.Post(Msg::kClose);
    app.RunToEnd();
    EXPECT_TRUE(app.closeRequested);
    EXPECT_LT(app.totalUpdates, recordedUpdates);
}

TEST_F(DemoReplay, RecordingIsOffWhileReplayingSoTheReplayedFileStaysAsItWas) {
    DemoApp app({"-play", "-record", "-demofile=" + demoPath});
    app.InitAndLoad();
    EXPECT_FALSE(app.recordingDemo);
    app.RunToEnd();
    DemoRecording after;
    std::string error;
    ASSERT_TRUE(DemoFile::Read(demoPath, after, error)) << error;
    EXPECT_EQ(after, recording);
}

TEST_F(DemoReplay, FastReplayRunsWithoutRealTimeAndReachesTheSameState) {
    DemoApp app({"-play", "-fast", "-demofile=" + demoPath});
    app.InitAndLoad();
    const uint32_t start = app.Now();
    app.RunToEnd();
    EXPECT_EQ(app.Now(), start);  // the fake clock only moves when the loop sleeps
    EXPECT_EQ(app.totalSleeps, 0);
    EXPECT_EQ(app.log.entries, recordedLog);
    EXPECT_EQ(app.randoms, recordedRandoms);
    EXPECT_EQ(app.totalUpdates, recordedUpdates);
}

TEST(DemoFast, WithoutADemoUpdatesRunBackToBackAndDrawNowAndThen) {
    DemoApp app({"-fast"});
    app.dirtyEveryUpdate = true;
    app.InitAndLoad();
    // Each update takes 1 ms of real time; nothing else moves the clock unless the loop sleeps.
    app.onUpdate = [](TestApp& a) { a.hp.clock.Advance(1); };
    const uint32_t start = app.Now();
    for (int i = 0; i < 1000; ++i) app.StepUntilUpdated();
    EXPECT_EQ(app.totalUpdates, 1000);
    EXPECT_EQ(app.totalSleeps, 0);
    EXPECT_EQ(app.Now() - start, 1000u);
    // A frame about every 100 ms of real time, not every 10 ms of game time.
    EXPECT_GE(app.totalPresents, 9);
    EXPECT_LE(app.totalPresents, 11);
}

TEST(DemoRecord, ARunThatEndsBeforeItsFirstUpdateLeavesAnEarlierRecordingAlone) {
    TempDir folder;
    const std::string path = (folder.Path() / "run.dmo").string();
    DemoRecording earlier;
    earlier.header.endUpdate = 5;
    ASSERT_TRUE(DemoFile::Write(path, earlier));
    {
        DemoApp app({"-record", "-demofile=" + path});
        app.Init();
        app.Quit();
    }
    DemoRecording read;
    std::string error;
    ASSERT_TRUE(DemoFile::Read(path, read, error)) << error;
    EXPECT_EQ(read, earlier);
}

TEST(DemoRecord, ARunCutShortLeavesAReplayableRecordingUpToItsLastCheckpoint) {
    TempDir folder;
    const std::string path = (folder.Path() / "run.dmo").string();
    std::vector<std::string> recordedLog;
    {
        DemoApp app({"-record", "-demofile=" + path});
        app.InitAndLoad();
        app.RunFor(3000);
        app.Click(50, 60);
        app.RunFor(9000);
        ASSERT_GT(app.totalUpdates, Zarvo::DemoRecorder::kCheckpointUpdates);
        recordedLog = app.log.entries;
        // What a crash at this point would leave behind:
        DemoRecording cut;
        std::string error;
        ASSERT_TRUE(DemoFile::Read(path, cut, error)) << error;
        EXPECT_EQ(cut.header.endUpdate, Zarvo::DemoRecorder::kCheckpointUpdates);
        std::filesystem::copy_file(path, path + ".cut");
    }
    DemoApp replay({"-play", "-demofile=" + path + ".cut"});
    replay.InitAndLoad();
    replay.RunToEnd();
    EXPECT_EQ(replay.totalUpdates, Zarvo::DemoRecorder::kCheckpointUpdates);
    ASSERT_FALSE(recordedLog.empty());
    EXPECT_EQ(replay.log.entries, recordedLog);
}

TEST(DemoRecord, RecNumNamesTheFileInTheApplicationDataFolder) {
    DemoApp app({"-recnum=3"});
    app.companyName = "Orlend";
    app.productName = "Kelvane";
    app.Init();
    EXPECT_TRUE(app.recordingDemo);
    EXPECT_EQ(app.demoFileName, "/appdata/Orlend/Kelvane/zarvoapp3.dmo");
}

using DemoReplayDeathTest = DemoReplay;

TEST_F(DemoReplayDeathTest, ACutOrForeignFileEndsTheStartWithTheReason) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    std::string bytes = DemoFile::Encode(recording);
    struct Case {
        std::string content;
        const char* message;
    };
    std::string otherVersion = bytes;
    otherVersion[4] = 7;
    const Case cases[] = {
        {bytes.substr(0, bytes.size() - 3), "run.dmo\": it is cut short\\."},
        {"not a demo at all", "run.dmo\": it is not a demo file\\."},
        {otherVersion, "format version 7, and this program replays version 1 only"},
    };
    for (const Case& c : cases) {
        {
            std::FILE* out = std::fopen(demoPath.c_str(), "wb");
            ASSERT_NE(out, nullptr);
            std::fwrite(c.content.data(), 1, c.content.size(), out);
            std::fclose(out);
        }
        DemoApp app({"-playnum=0", "-demofile=" + demoPath});
        EXPECT_EXIT(app.Init(), testing::ExitedWithCode(1),
                    std::string("FATAL ERROR: Cannot replay the demo file .*") + c.message);
    }
    DemoApp missing({"-play", "-demofile=" + (folder.Path() / "none.dmo").string()});
    EXPECT_EXIT(missing.Init(), testing::ExitedWithCode(1), "none.dmo\": it does not exist\\.");
}

}  // namespace

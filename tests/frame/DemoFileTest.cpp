// The demo file format and the recorder that keeps a demo file up to date.
#include "frame/DemoFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "files/TempDir.h"
#include "frame/DemoRecorder.h"

using namespace Zarvo;
using Kind = DemoEvent::Kind;

namespace {

// One event of every kind, with values at the edges of what the application delivers.
DemoRecording EveryKind() {
    DemoRecording r;
    r.header.randomSeed = 0xDEADBEEF;
    r.header.windowed = false;
    r.header.refreshHz = 60;
    r.header.updateIntervalMs = 10;
    r.header.loadingCompletedUpdate = 7;
    r.header.endUpdate = 100000;
    r.events = {
        {0, Kind::kPointerMove, -32768, 32767, 0},
        {0, Kind::kPointerPress, 10, 20, 1},
        {0, Kind::kPointerPress, 10, 20, 2},
        {3, Kind::kPointerPress, 10, 20, -1},
        {3, Kind::kPointerPress, 10, 20, -2},
        {3, Kind::kPointerPress, 10, 20, 3},
        {4, Kind::kPointerRelease, 639, 479, 1},
        {4, Kind::kPointerRelease, 639, 479, -1},
        {4, Kind::kPointerRelease, 639, 479, 3},
        {5, Kind::kWheel, 0, 0, -3},
        {5, Kind::kKeyDown, 0, 0, -70000},
        {6, Kind::kKeyUp, 0, 0, 13},
        {6, Kind::kChar, 0, 0, 255},
        {7, Kind::kFocus, 0, 0, DemoEvent::kFocusMinimised},
        {70000, Kind::kPointerLeave, -5, 600, 0},
        {100000, Kind::kClose, 0, 0, 0},
    };
    return r;
}

std::string Encoded() {
    return DemoFile::Encode(EveryKind());
}

TEST(DemoFile, EveryEventKindSurvivesTheRoundTrip) {
    DemoRecording read;
    std::string error;
    ASSERT_TRUE(DemoFile::Decode(Encoded(), read, error)) << error;
    EXPECT_EQ(read, EveryKind());

    DemoRecording empty;
    empty.header.loadingCompletedUpdate = DemoHeader::kNever;
    ASSERT_TRUE(DemoFile::Decode(DemoFile::Encode(empty), read, error)) << error;
    EXPECT_EQ(read, empty);
}

TEST(DemoFile, EveryCutOfAFileIsRefusedAsCutShortAndLeavesTheResultAlone) {
    const std::string bytes = Encoded();
    for (size_t size = 0; size < bytes.size(); ++size) {
        DemoRecording read;
        read.header.randomSeed = 42;
        std::string error;
        ASSERT_FALSE(DemoFile::Decode(std::string_view(bytes).substr(0, size), read, error))
            << size;
        EXPECT_EQ(error, "it is cut short") << size;
        EXPECT_EQ(read.header.randomSeed, 42u);
    }
}

// Byte offsets of the header fields.
constexpr size_t kVersionAt = 4, kWindowedAt = 10, kRefreshAt = 11, kLoadingAt = 15, kCountAt = 23,
                 kFirstEventAt = 27;

struct Damage {
    const char* name;
    size_t at;
    std::string bytes;  // replaces the bytes at `at`; at == npos appends
    const char* error;
};

class DemoFileDamage : public testing::TestWithParam<Damage> {};

TEST_P(DemoFileDamage, IsRefusedWithItsReason) {
    std::string bytes = Encoded();
    const Damage& d = GetParam();
    if (d.at == std::string::npos)
        bytes += d.bytes;
    else
        bytes.replace(d.at, d.bytes.size(), d.bytes);
    DemoRecording read;
    std::string error;
    EXPECT_FALSE(DemoFile::Decode(bytes, read, error));
    EXPECT_EQ(error, d.error);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DemoFileDamage,
    testing::Values(
        Damage{"BadMagic", 0, "KDMX", "it is not a demo file"},
        Damage{"OtherVersion", kVersionAt, std::string("\x02\x00", 2),
               "it was made by format version 2, and this program replays version 1 only"},
        Damage{"WindowedNotABoolean", kWindowedAt, "\x02", "its header is damaged"},
        Damage{"NoRefreshRate", kRefreshAt, std::string("\x00\x00", 2), "its header is damaged"},
        Damage{"LoadingAfterTheEnd", kLoadingAt, std::string("\xFF\xFF\xFF\x00", 4),
               "its header is damaged"},
        Damage{"MoreEventsThanBytes", kCountAt, std::string("\xFF\xFF\xFF\x0F", 4),
               "it is cut short"},
        Damage{"FewerEventsThanStored", kCountAt, std::string("\x0F\x00\x00\x00", 4),
               "its end mark is missing"},
        Damage{"UnknownKind", kFirstEventAt + 1, "\x0B", "it is damaged at event 1 (unknown kind)"},
        Damage{"UpdateTooLarge", kFirstEventAt, "\xFF\xFF\xFF\xFF\x7F",
               "it is damaged at event 1 (bad update)"},
        Damage{"EventAfterTheEnd", kFirstEventAt, "\xC0\x9A\x0C",
               "it is damaged at event 1 (after the end of the recording)"},
        // The second event is a press with click count 1 (zigzag 2): make it 4.
        Damage{"ImpossibleClickCount", kFirstEventAt + 8 + 4, "\x08",
               "it is damaged at event 2 (impossible value)"},
        Damage{"ExtraBytes", std::string::npos, "x", "it has extra bytes after its end"}),
    [](const testing::TestParamInfo<Damage>& info) { return std::string(info.param.name); });

TEST(DemoFile, WritesAndReadsFilesAndNamesAMissingOne) {
    TempDir folder;
    const std::string path = (folder.Path() / "sub" / "run.dmo").string();
    DemoRecording read;
    std::string error;
    EXPECT_FALSE(DemoFile::Read(path, read, error));
    EXPECT_EQ(error, "it does not exist");
    ASSERT_TRUE(DemoFile::Write(path, EveryKind()));
    ASSERT_TRUE(DemoFile::Read(path, read, error)) << error;
    EXPECT_EQ(read, EveryKind());
}

// A file of the first format version, kept with the fuzz corpus, stays readable as it was.
TEST(DemoFile, AFileOfVersionOneStaysReadable) {
    DemoRecording read;
    std::string error;
    ASSERT_TRUE(
        DemoFile::Read(KELVANE_SOURCE_DIR "/fuzz/corpus/demofile/every-kind.dmo", read, error))
        << error;
    EXPECT_EQ(read.header.randomSeed, 123456u);
    EXPECT_TRUE(read.header.windowed);
    EXPECT_EQ(read.header.loadingCompletedUpdate, 7);
    EXPECT_EQ(read.header.endUpdate, 60);
    ASSERT_EQ(read.events.size(), 18u);
    EXPECT_EQ(read.events[3], (DemoEvent{12, Kind::kPointerPress, 5, 6, 2}));
    EXPECT_EQ(read.events[16], (DemoEvent{50, Kind::kPointerLeave, -3, 480, 0}));
    EXPECT_EQ(read.events[17].kind, Kind::kClose);
    EXPECT_FALSE(
        DemoFile::Read(KELVANE_SOURCE_DIR "/fuzz/corpus/demofile/truncated.dmo", read, error));
    EXPECT_EQ(error, "it is cut short");
}

TEST(DemoRecorder, KeepsAReplayableCheckpointAndWritesTheWholeRecordingOnceAtTheEnd) {
    std::vector<DemoRecording> writes;
    DemoHeader header;
    header.randomSeed = 99;
    DemoRecorder recorder("/x/run.dmo", header,
                          [&](const std::string& path, const DemoRecording& r) {
                              EXPECT_EQ(path, "/x/run.dmo");
                              writes.push_back(r);
                              return true;
                          });
    recorder.Record({5, Kind::kPointerMove, 1, 2, 0});
    recorder.LoadingCompleted(8);
    recorder.LoadingCompleted(9);  // only the first counts
    for (int update = 1; update <= DemoRecorder::kCheckpointUpdates + 5; ++update) {
        EXPECT_TRUE(recorder.UpdateDone(update));
        if (update == 20) recorder.Record({20, Kind::kKeyDown, 0, 0, 65});
    }
    ASSERT_EQ(writes.size(), 1u);  // the checkpoint
    EXPECT_EQ(writes[0].header.endUpdate, DemoRecorder::kCheckpointUpdates);
    EXPECT_EQ(writes[0].header.loadingCompletedUpdate, 8);
    EXPECT_EQ(writes[0].header.randomSeed, 99u);
    EXPECT_EQ(writes[0].events.size(), 2u);

    EXPECT_TRUE(recorder.Finish(DemoRecorder::kCheckpointUpdates + 5));
    EXPECT_TRUE(recorder.Finish(5000));
    recorder.Record({1100, Kind::kClose, 0, 0, 0});
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(writes[1].header.endUpdate, DemoRecorder::kCheckpointUpdates + 5);
    EXPECT_EQ(writes[1].events.size(), 2u);
    // What was written is a file the reader accepts.
    DemoRecording read;
    std::string error;
    EXPECT_TRUE(DemoFile::Decode(DemoFile::Encode(writes[1]), read, error)) << error;
}

TEST(DemoRecorder, ReportsAFailedWrite) {
    DemoRecorder recorder("/x/run.dmo", DemoHeader{},
                          [](const std::string&, const DemoRecording&) { return false; });
    EXPECT_TRUE(recorder.UpdateDone(1));
    EXPECT_FALSE(recorder.UpdateDone(DemoRecorder::kCheckpointUpdates));
    EXPECT_FALSE(recorder.Finish(1200));
}

}  // namespace

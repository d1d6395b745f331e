// The settings file: its text form, bad files, atomic replacement.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "TempFolder.h"
#include "platform/AtomicFile.h"
#include "platform/IniSettingsStore.h"
#include "platform/Paths.h"
#include "platform/SettingsValues.h"

using namespace Zarvo;
using ZarvoTest::TempFolder;

namespace {

std::vector<uint8_t> Dword(uint32_t n) {
    return {static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8), static_cast<uint8_t>(n >> 16),
            static_cast<uint8_t>(n >> 24)};
}

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

TEST(SettingsValues, RoundTripKeepsTypesSubKeysAndAwkwardText) {
    SettingsValues values;
    values.Set("", "MusicVolume", {SettingsValues::kDword, Dword(85)});
    values.Set("", "Name=odd[1];#", {SettingsValues::kString, {'a', '%', '\n', 0xC3, 0xA9, 0}});
    values.Set("Test3D", "DisplayGUID", {SettingsValues::kBinary, {0, 1, 0xFE, 0xFF}});
    values.Set("Sub\\Deep", "Big", {SettingsValues::kDword, Dword(0xFFFFFFFF)});
    values.Set("", "OddType", {7, {1, 2}});
    values.Set("", "ShortDword", {SettingsValues::kDword, {1, 2}});  // kept as raw bytes
    SettingsValues back;
    ASSERT_TRUE(back.Parse(values.Serialize()));
    EXPECT_EQ(back.All(), values.All()) << values.Serialize();
}

TEST(SettingsValues, TheTextFormIsReadable) {
    SettingsValues values;
    values.Set("", "MusicVolume", {SettingsValues::kDword, Dword(85)});
    values.Set("Player", "Name", {SettingsValues::kString, {'A', 'n', 'n', 0}});
    const std::string text = values.Serialize();
    EXPECT_NE(text.find("\nMusicVolume=dword:85\n"), std::string::npos) << text;
    EXPECT_NE(text.find("[Player]\nName=sz:Ann\n"), std::string::npos) << text;
}

struct BadText {
    const char* name;
    std::string text;
    size_t values;  // values that survive
};

class BadSettingsText : public testing::TestWithParam<BadText> {};

TEST_P(BadSettingsText, KeepsOnlyIntactLines) {
    SettingsValues values;
    EXPECT_TRUE(values.Parse(GetParam().text));
    size_t count = 0;
    for (const auto& [section, v] : values.All()) count += v.size();
    EXPECT_EQ(count, GetParam().values);
}

INSTANTIATE_TEST_SUITE_P(
    SettingsValues, BadSettingsText,
    testing::Values(BadText{"Empty", "", 0},
                    BadText{"TruncatedMidLine", "A=dword:85\nB=dword:8", 1},
                    BadText{"TruncatedAfterEquals", "A=dword:85\nB=", 1},
                    BadText{"Garbage",
                            "\x7f"
                            "ELF\x01\x02\x00\x00garbage\n==\n[\n]\n",
                            0},
                    BadText{"NumberTooLarge", "A=dword:4294967296\nB=dword:4294967295\n", 1},
                    BadText{"NotANumber", "A=dword:-1\nB=dword:12a\nC=dword:\n", 0},
                    BadText{"BadEscape", "A=sz:50%\nB=sz:%G1\nC%=sz:x\nD=sz:%41\n", 1},
                    BadText{"BadHex", "A=hex(3):abc\nB=hex(x):00\nC=hex(3:00\nD=hex(3):0A\n", 1},
                    BadText{"UnknownType", "A=float:1.5\n", 0},
                    BadText{"BrokenSectionSwallowsItsValues", "[Sub\nA=dword:1\n[]\nB=dword:2\n",
                            1},
                    BadText{"WindowsLineEnds", "A=dword:1\r\nB=sz:x\r\n", 2}),
    [](const testing::TestParamInfo<BadText>& info) { return std::string(info.param.name); });

TEST(SettingsValues, OversizedTextIsRefusedWhole) {
    SettingsValues values;
    EXPECT_FALSE(values.Parse(std::string(SettingsValues::kMaxTextSize + 1, '\n')));
    EXPECT_TRUE(values.All().empty());
}

TEST(IniSettingsStore, WritesReadBackAndSurviveANewStore) {
    TempFolder dir;
    const std::string path = dir / "Orlend/Kelvane/settings.ini";
    {
        IniSettingsStore store(path);
        EXPECT_TRUE(store.Write("", "MusicVolume", SettingsValues::kDword, Dword(85)));
        EXPECT_TRUE(store.Write("Test3D", "Version", SettingsValues::kDword, Dword(2)));
        EXPECT_TRUE(store.Delete("", "Missing"));
    }
    IniSettingsStore store(path);
    uint32_t type = 0;
    std::vector<uint8_t> data;
    ASSERT_TRUE(store.Read("", "MusicVolume", type, data));
    EXPECT_EQ(type, SettingsValues::kDword);
    EXPECT_EQ(data, Dword(85));
    ASSERT_TRUE(store.Read("Test3D", "Version", type, data));
    EXPECT_TRUE(store.Delete("Test3D", "Version"));
    EXPECT_FALSE(store.Read("Test3D", "Version", type, data));
    // Nothing but the file itself is left in the folder.
    int files = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir / "Orlend/Kelvane")) {
        (void)e;
        ++files;
    }
    EXPECT_EQ(files, 1);
}

TEST(IniSettingsStore, MissingOrUnreadableFilesReadAsEmpty) {
    TempFolder dir;
    uint32_t type = 99;
    std::vector<uint8_t> data{1};
    EXPECT_FALSE(IniSettingsStore(dir / "none.ini").Read("", "A", type, data));
    std::filesystem::create_directory(dir / "folder.ini");
    EXPECT_FALSE(IniSettingsStore(dir / "folder.ini").Read("", "A", type, data));
    EXPECT_EQ(type, 99u);
    EXPECT_EQ(data, std::vector<uint8_t>{1});
}

TEST(IniSettingsStore, AWriteIntoAGarbledFileKeepsItsIntactValues) {
    TempFolder dir;
    const std::string path = dir / "settings.ini";
    WriteText(path, "junk line\nKeep=dword:7\n\x01\x02\x03\nCut=dword:12");
    IniSettingsStore store(path);
    EXPECT_TRUE(store.Write("", "New", SettingsValues::kDword, Dword(1)));
    uint32_t type = 0;
    std::vector<uint8_t> data;
    EXPECT_TRUE(store.Read("", "Keep", type, data));
    EXPECT_FALSE(store.Read("", "Cut", type, data));
}

TEST(IniSettingsStore, AWriteThatCannotBeDoneFailsAndLeavesTheOldFile) {
    TempFolder dir;
    const std::string blocker = dir / "file";
    WriteText(blocker, "x");
    IniSettingsStore store(blocker + "/settings.ini");  // its folder is a file
    EXPECT_FALSE(store.Write("", "A", SettingsValues::kDword, Dword(1)));
    std::string text;
    ASSERT_TRUE(AtomicFile::Read(blocker, 100, text));
    EXPECT_EQ(text, "x");
}

TEST(AtomicFile, ReplacesTheWholeContentAndRefusesOversizedReads) {
    TempFolder dir;
    const std::string path = dir / "a/b/save.dat";
    ASSERT_TRUE(AtomicFile::Write(path, "first content", 13));
    ASSERT_TRUE(AtomicFile::Write(path, "second", 6));
    std::string text;
    ASSERT_TRUE(AtomicFile::Read(path, 100, text));
    EXPECT_EQ(text, "second");
    EXPECT_FALSE(AtomicFile::Read(path, 5, text));
    EXPECT_TRUE(AtomicFile::Write(dir / "empty", nullptr, 0));
    EXPECT_FALSE(AtomicFile::Write("", "x", 1));
}

TEST(Paths, SettingsFileFollowsTheKeyAndStaysInsideTheConfigFolder) {
    const std::string home = Paths::ConfigHome();
    EXPECT_EQ(Paths::SettingsFileFor("Orlend\\Kelvane\\Kelvane 1.0"),
              home + "/Orlend/Kelvane/Kelvane 1.0/settings.ini");
    EXPECT_EQ(Paths::SettingsFileFor("..\\..\\etc\\.\\x"), home + "/etc/x/settings.ini");
    EXPECT_EQ(Paths::SettingsFileFor("a/b\\c"), home + "/c/settings.ini");
    EXPECT_EQ(Paths::SettingsFileFor(""), "");
    EXPECT_EQ(Paths::SettingsFileFor("\\..\\"), "");
}

}  // namespace

namespace {

// A store whose problem lines are collected instead of printed.
struct ReportedStore {
    explicit ReportedStore(const std::string& path)
        : store(path, [this](const std::string& line) { lines.push_back(line); }) {}
    std::vector<std::string> lines;
    IniSettingsStore store;
};

TEST(IniSettingsStore, AnUnwritableFolderIsToldOnceAndTheWriteFails) {
    TempFolder dir;
    WriteText(dir / "file", "x");
    ReportedStore s(dir / "file/settings.ini");  // its folder cannot be made
    EXPECT_FALSE(s.store.Write("", "A", SettingsValues::kDword, Dword(1)));
    EXPECT_FALSE(s.store.Write("", "B", SettingsValues::kDword, Dword(2)));
    ASSERT_EQ(s.lines.size(), 1u);
    EXPECT_EQ(s.lines[0],
              "Cannot save the settings to " + dir / "file/settings.ini" + ": Not a directory");
}

TEST(IniSettingsStore, ASettingsFileThatIsAFolderIsToldOnceAndLeftAlone) {
    TempFolder dir;
    std::filesystem::create_directory(dir / "settings.ini");
    ReportedStore s(dir / "settings.ini");
    uint32_t type = 0;
    std::vector<uint8_t> data;
    EXPECT_FALSE(s.store.Read("", "A", type, data));
    EXPECT_FALSE(s.store.Write("", "A", SettingsValues::kDword, Dword(1)));
    EXPECT_FALSE(s.store.Delete("", "A"));
    EXPECT_EQ(s.lines, std::vector<std::string>{"The settings file " + dir / "settings.ini" +
                                                " cannot be read (it is a folder): the defaults "
                                                "are used and the settings are not saved"});
    EXPECT_TRUE(std::filesystem::is_directory(dir / "settings.ini"));
}

TEST(IniSettingsStore, AnUnreadableFileIsNeverReplaced) {
    TempFolder dir;
    const std::string path = dir / "settings.ini";
    // Larger than a settings file may be: its values cannot be read, so writing would lose them.
    WriteText(path, "Keep=dword:7\n" + std::string(SettingsValues::kMaxTextSize, ';'));
    ReportedStore s(path);
    EXPECT_FALSE(s.store.Write("", "New", SettingsValues::kDword, Dword(1)));
    EXPECT_EQ(std::filesystem::file_size(path), 13 + SettingsValues::kMaxTextSize);
    ASSERT_EQ(s.lines.size(), 1u);
    EXPECT_NE(s.lines[0].find("cannot be read (it is too large)"), std::string::npos);
}

TEST(IniSettingsStore, ADamagedFileIsToldKeptAsACopyAndItsValuesSurvive) {
    TempFolder dir;
    const std::string path = dir / "settings.ini";
    const std::string damaged = "junk line\nKeep=dword:7\n[Sub]\nAlso=sz:x\n\x01\x02\n";
    WriteText(path, damaged);
    ReportedStore s(path);
    EXPECT_TRUE(s.store.Write("", "New", SettingsValues::kDword, Dword(1)));
    EXPECT_TRUE(s.store.Write("", "New", SettingsValues::kDword, Dword(2)));
    ASSERT_EQ(s.lines.size(), 1u);
    EXPECT_EQ(s.lines[0], "The settings file " + path +
                              " was damaged: its readable values are kept, 2 unreadable line(s) "
                              "are dropped (the damaged file is kept as " +
                              path + ".damaged)");
    std::string copy;
    ASSERT_TRUE(AtomicFile::Read(path + ".damaged", 1000, copy));
    EXPECT_EQ(copy, damaged);
    uint32_t type = 0;
    std::vector<uint8_t> data;
    EXPECT_TRUE(s.store.Read("", "Keep", type, data));
    EXPECT_TRUE(s.store.Read("Sub", "Also", type, data));
}

TEST(SettingsValues, CountsTheLinesItSkips) {
    SettingsValues values;
    ASSERT_TRUE(values.Parse("; comment\n\nA=dword:1\nbad\n[broken\nB=dword:2\n[]\nC=dword:3"));
    // "bad", the broken header, the value under it and the unfinished last line.
    EXPECT_EQ(values.SkippedLines(), 4u);
}

}  // namespace

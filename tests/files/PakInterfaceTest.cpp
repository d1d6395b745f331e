#include "files/PakInterface.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "files/FileFunctions.h"
#include "files/PakBuilder.h"
#include "files/TempDir.h"

using namespace Zarvo;

namespace {

class PakInterfaceTest : public ::testing::Test {
protected:
    void SetUp() override { dir.Enter(); }

    // Writes an archive with the given files into the test folder and maps it.
    bool AddArchive(const std::string& name,
                    const std::vector<std::pair<std::string, std::string>>& files) {
        PakBuilder builder;
        for (const auto& [n, contents] : files) builder.AddFile(n, Bytes(contents), 42);
        dir.Write(name, builder.Build());
        return pak.AddPakFile(name);
    }

    std::string ReadAll(PakFile* f) {
        std::string out;
        char buf[7];
        size_t n;
        while ((n = FRead(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
        return out;
    }

    TempDir dir;
    PakInterface pak;
};

TEST_F(PakInterfaceTest, NormalisesNames) {
    struct Case {
        const char* in;
        const char* key;
    } cases[] = {
        {"images/../Images//Ball.PNG", "IMAGES\\BALL.PNG"},
        {"IMAGES\\BALL.PNG", "IMAGES\\BALL.PNG"},
        {"a\\\\b//c", "A\\B\\C"},
        {"a/b/../../c.txt", "C.TXT"},
        {"sounds\\kick.ogg", "SOUNDS\\KICK.OGG"},
        {"..\\x", "..\\X"},  // no previous component to remove
    };
    for (const Case& c : cases) EXPECT_EQ(PakInterface::NormalizeName(c.in), c.key) << c.in;
    std::string cwd = std::filesystem::current_path().string();
    EXPECT_EQ(PakInterface::NormalizeName(cwd + "/images/ball.png"), "IMAGES\\BALL.PNG");
}

TEST_F(PakInterfaceTest, OpensStoredNameWithAnyCaseAndSeparator) {
    ASSERT_TRUE(AddArchive("main.pak", {{"images\\ball.png", "BALLDATA"}}));
    for (const char* mode : {"rb", "r", "RT"}) {
        PakFile* f = FOpen("Images/ball.png", mode);
        ASSERT_NE(f, nullptr) << mode;
        EXPECT_NE(f->record, nullptr);
        EXPECT_EQ(ReadAll(f), "BALLDATA");
        FClose(f);
    }
}

TEST_F(PakInterfaceTest, WriteModesGoToRealFiles) {
    ASSERT_TRUE(AddArchive("main.pak", {{"data.txt", "archived"}}));
    PakFile* w = FOpen("data.txt", "wb");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->record, nullptr);
    std::fputs("loose", w->file);
    FClose(w);
    EXPECT_TRUE(std::filesystem::exists(dir / "data.txt"));
    // The archive still wins for reading: a loose file overrides nothing the archive holds.
    PakFile* r = FOpen("data.txt", "rb");
    EXPECT_EQ(ReadAll(r), "archived");
    FClose(r);
}

TEST_F(PakInterfaceTest, SeekClampsIntoTheEntry) {
    ASSERT_TRUE(AddArchive("main.pak", {{"ten.bin", "0123456789"}}));
    PakFile* f = FOpen("ten.bin", "rb");
    ASSERT_NE(f, nullptr);
    struct Case {
        long offset;
        int origin;
        long expected;
    } cases[] = {
        {0, SEEK_END, 10}, {-5, SEEK_SET, 0},  {25, SEEK_SET, 10}, {-3, SEEK_END, 7},
        {2, SEEK_CUR, 9},  {-20, SEEK_CUR, 0}, {4, SEEK_SET, 4},   {100, SEEK_CUR, 10},
        {-1, SEEK_END, 9}, {5, SEEK_END, 10},  {-11, SEEK_END, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FSeek(f, c.offset, c.origin), 0);
        EXPECT_EQ(FTell(f), c.expected) << c.offset << " from " << c.origin;
    }
    FClose(f);
}

TEST_F(PakInterfaceTest, ReadReturnsWholeElementsOfWhatIsLeft) {
    ASSERT_TRUE(AddArchive("main.pak", {{"seven.bin", "ABCDEFG"}}));
    PakFile* f = FOpen("seven.bin", "rb");
    char buf[16] = {};
    EXPECT_EQ(FRead(buf, 4, 1, f), 1u);
    EXPECT_EQ(std::string(buf, 4), "ABCD");
    std::memset(buf, 0, sizeof buf);
    EXPECT_EQ(FRead(buf, 4, 1, f), 0u);  // 3 bytes left: copied, no whole element
    EXPECT_EQ(std::string(buf), "EFG");
    EXPECT_EQ(FTell(f), 7);
    EXPECT_TRUE(FEof(f));
    EXPECT_EQ(FRead(buf, 1, 4, f), 0u);
    FSeek(f, 0, SEEK_SET);
    EXPECT_EQ(FRead(buf, 1, size_t(-1), f), 7u);  // a huge count does not overflow
    FClose(f);
}

TEST_F(PakInterfaceTest, GetCharSkipsCarriageReturnsAndUngetStopsAtZero) {
    ASSERT_TRUE(AddArchive("main.pak", {{"t.txt", "a\r\nb"}}));
    PakFile* f = FOpen("t.txt", "rb");
    EXPECT_EQ(UnGetC('x', f), 'x');
    EXPECT_EQ(FTell(f), 0);
    EXPECT_EQ(FGetC(f), 'a');
    EXPECT_EQ(FGetC(f), '\n');
    EXPECT_EQ(FGetC(f), 'b');
    EXPECT_EQ(FGetC(f), -1);
    EXPECT_EQ(UnGetC('b', f), 'b');
    EXPECT_EQ(FGetC(f), 'b');
    FClose(f);
}

TEST_F(PakInterfaceTest, GetLineDropsCarriageReturns) {
    ASSERT_TRUE(AddArchive("main.pak", {{"lines.txt", "first\r\nsecond line\r\nlast"}}));
    PakFile* f = FOpen("lines.txt", "rb");
    char buf[8];
    std::vector<std::string> got;
    while (FGetS(buf, sizeof buf, f)) got.push_back(buf);
    // Each read stores at most 7 characters; a line feed ends a read.
    std::vector<std::string> expected = {"first\n", "second ", "line\n", "last"};
    EXPECT_EQ(got, expected);
    EXPECT_EQ(FGetS(buf, sizeof buf, f), nullptr);
    FClose(f);
}

TEST_F(PakInterfaceTest, GetLineEndsAtATrailingLoneCarriageReturn) {
    // After the last line only a carriage return is left: that is the end, not an empty line.
    ASSERT_TRUE(AddArchive("main.pak", {{"cr.txt", "line\n\r"}, {"full.txt", "abc\r"}}));
    PakFile* f = FOpen("cr.txt", "rb");
    char buf[16];
    ASSERT_NE(FGetS(buf, sizeof buf, f), nullptr);
    EXPECT_STREQ(buf, "line\n");
    EXPECT_EQ(FGetS(buf, sizeof buf, f), nullptr);
    FClose(f);
    // The same when a full buffer stopped just before it.
    PakFile* g = FOpen("full.txt", "rb");
    ASSERT_NE(FGetS(buf, 4, g), nullptr);
    EXPECT_STREQ(buf, "abc");
    EXPECT_EQ(FGetS(buf, 4, g), nullptr);
    FClose(g);
}

TEST_F(PakInterfaceTest, EmptyEntrySharesStartWithNext) {
    ASSERT_TRUE(AddArchive("main.pak", {{"a", "AAA"}, {"empty", ""}, {"b", "BB"}}));
    PakFile* e = FOpen("empty", "rb");
    PakFile* b = FOpen("b", "rb");
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->record->start, b->record->start);
    EXPECT_EQ(e->record->size, 0);
    EXPECT_EQ(FGetC(e), -1);
    EXPECT_TRUE(FEof(e));
    FSeek(e, 5, SEEK_SET);
    EXPECT_EQ(FTell(e), 0);
    EXPECT_EQ(ReadAll(b), "BB");
    FClose(e);
    FClose(b);
}

TEST_F(PakInterfaceTest, ArchiveItselfIsReadableDecoded) {
    ASSERT_TRUE(AddArchive("main.pak", {{"x", "1"}}));
    PakFile* f = FOpen("MAIN.PAK", "rb");
    ASSERT_NE(f, nullptr);
    unsigned char magic[4];
    ASSERT_EQ(FRead(magic, 4, 1, f), 1u);
    EXPECT_EQ(magic[0], 0xC0);
    EXPECT_EQ(magic[3], 0xBA);
    FClose(f);
}

TEST_F(PakInterfaceTest, LastEntryForAKeyWinsAcrossArchives) {
    ASSERT_TRUE(AddArchive("one.pak", {{"Same.txt", "first"}, {"only1", "1"}}));
    ASSERT_TRUE(AddArchive("two.pak", {{"SAME.TXT", "second"}, {"dup", "x"}, {"DUP", "y"}}));
    PakFile* f = FOpen("same.txt", "rb");
    EXPECT_EQ(ReadAll(f), "second");
    FClose(f);
    f = FOpen("dup", "rb");
    EXPECT_EQ(ReadAll(f), "y");
    FClose(f);
    f = FOpen("only1", "rb");
    EXPECT_EQ(ReadAll(f), "1");
    FClose(f);
}

TEST_F(PakInterfaceTest, SearchListsArchiveInKeyOrderThenLooseFiles) {
    ASSERT_TRUE(AddArchive("main.pak", {{"images\\c.png", "c"},
                                        {"images\\a.png", "a"},
                                        {"images\\b.jpg", "b"},
                                        {"images\\sub\\d.png", "d"},
                                        {"sounds\\e.png", "e"}}));
    dir.Write("images/zz.png", "zz");
    dir.Write("images/loose.PNG", "l");
    dir.Write("images/other.gif", "o");

    PakFindData data;
    std::vector<std::pair<std::string, uint32_t>> found;
    PakSearch* s = FindFirstFile("images\\*.png", &data);
    ASSERT_NE(s, nullptr);
    do {
        found.emplace_back(data.fileName, data.attributes);
    } while (FindNextFile(s, &data));
    EXPECT_TRUE(FindClose(s));
    std::vector<std::pair<std::string, uint32_t>> expected = {
        {"a.png", 0},
        {"c.png", 0},     // archive, key order
        {"d.png", 0x10},  // the '*' spans a folder
        {"loose.PNG", PakFindData::kAttributeNormal},
        {"zz.png", PakFindData::kAttributeNormal}};
    EXPECT_EQ(found, expected);

    // Archive details of one match.
    s = FindFirstFile("IMAGES\\A*", &data);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(data.fileName, "a.png");
    EXPECT_EQ(data.fileSizeLow, 1u);
    EXPECT_EQ(data.lastWriteTime, 42u);
    FindClose(s);

    // No '*': never matches inside the archive, but still finds a loose file.
    EXPECT_EQ(FindFirstFile("images\\a.png", &data), nullptr);
    s = FindFirstFile("images\\zz.png", &data);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(data.fileName, "zz.png");
    EXPECT_FALSE(FindNextFile(s, &data));
    FindClose(s);
    EXPECT_EQ(FindFirstFile("nothing\\*.png", &data), nullptr);
}

TEST_F(PakInterfaceTest, LooseFilesFoundWithBackslashesAndAnyCase) {
    dir.Write("properties/resources.xml", "<x/>");
    for (const char* name :
         {"properties\\resources.xml", "PROPERTIES/Resources.XML", "properties/resources.xml"}) {
        PakFile* f = FOpen(name, "rb");
        ASSERT_NE(f, nullptr) << name;
        EXPECT_EQ(f->record, nullptr);
        EXPECT_EQ(ReadAll(f), "<x/>");
        FClose(f);
    }
    EXPECT_EQ(FOpen("properties\\missing.xml", "rb"), nullptr);
    PakFile* w = FOpen("Properties\\new.txt", "w");  // an existing folder, a new file
    ASSERT_NE(w, nullptr);
    FClose(w);
    EXPECT_TRUE(std::filesystem::exists(dir / "properties/new.txt"));
}

struct BadArchive {
    const char* what;
    std::vector<uint8_t> plain;  // before scrambling
    const char* reason;          // PakFileError
};

std::vector<uint8_t> Le32(uint32_t v) {
    return {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
}

std::vector<uint8_t> Cat(std::initializer_list<std::vector<uint8_t>> parts) {
    std::vector<uint8_t> out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

TEST_F(PakInterfaceTest, RejectsBrokenArchivesAndKeepsEarlierOnes) {
    ASSERT_TRUE(AddArchive("good.pak", {{"keep.txt", "kept"}}));
    const auto head = Cat({Le32(0xBAC04AC0), Le32(0)});
    const auto time = std::vector<uint8_t>(8, 0);
    const char* const kCutShort = "its table of entries is cut short (damaged or truncated)";
    const char* const kPastTheEnd = "its entries reach past the end of the file (truncated)";
    std::vector<BadArchive> cases = {
        {"empty file", {}, "it is too short to be a pack file"},
        {"short magic", {0xC0, 0x4A}, "it is too short to be a pack file"},
        {"wrong magic", Cat({Le32(0xBAC04AC1), Le32(0), {0x80}}),
         "it is not a pack file (its first bytes are wrong)"},
        {"wrong version", Cat({Le32(0xBAC04AC0), Le32(1), {0x80}}), "its version is not 0"},
        {"no end mark", head, kCutShort},
        {"name past the end", Cat({head, {0, 200}, Bytes("keep.txt")}), kCutShort},
        {"size cut short", Cat({head, {0, 1, 'k', 1, 0}}), kCutShort},
        {"data past the end", Cat({head, {0, 1, 'k'}, Le32(5), time, {0x80}, Bytes("1234")}),
         kPastTheEnd},
        {"negative size", Cat({head, {0, 1, 'k'}, Le32(0xFFFFFFF0), time, {0x80}}),
         "an entry has a negative size (damaged)"},
        {"sizes summing past the end",
         Cat({head,
              {0, 1, 'a'},
              Le32(0x7FFFFFFF),
              time,
              {0, 1, 'b'},
              Le32(0x7FFFFFFF),
              time,
              {0x80}}),
         kPastTheEnd},
    };
    for (auto& c : cases) {
        for (uint8_t& b : c.plain) b ^= PakInterface::kKey;
        dir.Write("bad.pak", c.plain);
        EXPECT_FALSE(pak.AddPakFile("bad.pak")) << c.what;
        EXPECT_EQ(pak.PakFileError(), c.reason) << c.what;
        EXPECT_EQ(FOpen("k", "rb"), nullptr) << c.what;
        EXPECT_EQ(FOpen("a", "rb"), nullptr) << c.what;
        PakFile* f = FOpen("keep.txt", "rb");
        ASSERT_NE(f, nullptr) << c.what;
        EXPECT_EQ(ReadAll(f), "kept") << c.what;
        FClose(f);
    }
    EXPECT_FALSE(pak.AddPakFile("missing.pak"));
    EXPECT_EQ(pak.PakFileError(), "");  // no archive: loose files, nothing to report
    std::filesystem::create_directories(dir / "folder.pak");
    EXPECT_FALSE(pak.AddPakFile("folder.pak"));
    EXPECT_EQ(pak.PakFileError(), "it is a folder");
}

TEST_F(PakInterfaceTest, TableClaimsBeyondTheLimitsRejectTheArchive) {
    // Tables of `count` entries, the last one claiming `lastSize` bytes; the data is left as a
    // hole in a sparse file, so an entry at the size limit costs no disk space.
    struct Case {
        size_t count;
        int64_t lastSize;
        const char* reason;  // null: accepted
    };
    const Case cases[] = {
        {PakInterface::kMaxEntries, 3, nullptr},
        {PakInterface::kMaxEntries + 1, 3, "it has more than 65536 entries"},
        {1, PakInterface::kMaxEntryBytes, nullptr},
        {1, PakInterface::kMaxEntryBytes + 1, "an entry is larger than 256 MB"},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> plain = Cat({Le32(0xBAC04AC0), Le32(0)});
        for (size_t i = 0; i < c.count; ++i) {
            const std::string name = "e" + std::to_string(i);
            plain.push_back(0);
            plain.push_back(static_cast<uint8_t>(name.size()));
            plain.insert(plain.end(), name.begin(), name.end());
            const auto size = Le32(static_cast<uint32_t>(i + 1 == c.count ? c.lastSize : 0));
            plain.insert(plain.end(), size.begin(), size.end());
            plain.insert(plain.end(), 8, 0);
        }
        plain.push_back(0x80);
        const size_t tableBytes = plain.size();
        for (uint8_t& b : plain) b ^= PakInterface::kKey;
        dir.Write("limits.pak", plain);
        std::filesystem::resize_file(dir / "limits.pak", tableBytes + c.lastSize);
        const std::string last = "e" + std::to_string(c.count - 1);
        if (c.reason == nullptr) {
            EXPECT_TRUE(pak.AddPakFile("limits.pak")) << c.count << " " << c.lastSize;
            PakFile* f = FOpen(last.c_str(), "rb");
            ASSERT_NE(f, nullptr) << last;
            FSeek(f, 0, SEEK_END);
            EXPECT_EQ(FTell(f), c.lastSize);
            FClose(f);
        } else {
            EXPECT_FALSE(pak.AddPakFile("limits.pak")) << c.count << " " << c.lastSize;
            EXPECT_EQ(pak.PakFileError(), c.reason);
        }
    }
}

}  // namespace

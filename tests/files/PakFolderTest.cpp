#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "files/FileFunctions.h"
#include "files/PakBuilder.h"
#include "files/PakInterface.h"
#include "files/TempDir.h"

using namespace Zarvo;

namespace {

std::vector<uint8_t> RandomBytes(size_t n, unsigned seed) {
    std::mt19937 rng(seed);
    std::vector<uint8_t> out(n);
    for (uint8_t& b : out) b = static_cast<uint8_t>(rng() % 7 == 0 ? '\r' : rng());
    return out;
}

std::string Without(const std::vector<uint8_t>& bytes, char drop) {
    std::string out;
    for (uint8_t b : bytes) {
        if (b != static_cast<uint8_t>(drop)) out += static_cast<char>(b);
    }
    return out;
}

// A folder packed by the same code as the pak tool serves the same bytes from the archive as
// the loose copy of the folder does through every file function (the archive's character and
// line reads leave out carriage returns).
TEST(PakFolderTest, ArchiveServesTheLooseFilesBytes) {
    TempDir dir;
    dir.Enter();
    const std::vector<std::pair<std::string, std::vector<uint8_t>>> files = {
        {"Images/Ball.png", RandomBytes(3000, 1)},
        {"images/sub/pitch.jpg", RandomBytes(5000, 2)},
        {"images/flag.gif", RandomBytes(700, 3)},
        {"images/card.TGA", RandomBytes(1, 4)},
        {"properties/resources.xml", Bytes("<ResManifest>\r\n  <Resources id=\"Init\"/>\r\n"
                                           "</ResManifest>\r\n")},
        {"empty.txt", {}},
    };
    for (const auto& [name, bytes] : files) dir.Write("data/" + name, bytes);

    PakBuilder builder;
    ASSERT_TRUE(builder.AddFolder("data"));
    dir.Write("main.pak", builder.Build());
    PakInterface pak;
    ASSERT_TRUE(pak.AddPakFile("main.pak"));

    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name);
        PakFile* packed = FOpen(name.c_str(), "rb");
        PakFile* loose = FOpen(("data/" + name).c_str(), "rb");
        ASSERT_NE(packed, nullptr);
        ASSERT_NE(loose, nullptr);
        ASSERT_NE(packed->record, nullptr);
        ASSERT_EQ(loose->record, nullptr);

        // Reads in odd-sized elements, then seeks and tells.
        for (PakFile* f : {packed, loose}) {
            std::string all;
            char chunk[33];
            size_t n;
            while ((n = FRead(chunk, 1, sizeof chunk, f)) > 0) all.append(chunk, n);
            EXPECT_EQ(all, std::string(bytes.begin(), bytes.end()));
            EXPECT_TRUE(FEof(f));
        }
        const long size = static_cast<long>(bytes.size());
        for (long pos : {0L, size / 2, size}) {
            FSeek(packed, pos, SEEK_SET);
            FSeek(loose, pos, SEEK_SET);
            EXPECT_EQ(FTell(packed), FTell(loose));
            unsigned char a[16] = {}, b[16] = {};
            EXPECT_EQ(FRead(a, 1, 16, packed), FRead(b, 1, 16, loose));
            EXPECT_EQ(std::string(a, a + 16), std::string(b, b + 16));
        }
        FSeek(packed, 0, SEEK_END);
        FSeek(loose, 0, SEEK_END);
        EXPECT_EQ(FTell(packed), size);
        EXPECT_EQ(FTell(loose), size);

        // Characters and lines.
        FSeek(packed, 0, SEEK_SET);
        FSeek(loose, 0, SEEK_SET);
        std::string packedChars, looseChars;
        for (int c; (c = FGetC(packed)) != -1;) packedChars += static_cast<char>(c);
        for (int c; (c = FGetC(loose)) != -1;) {
            if (c != '\r') looseChars += static_cast<char>(c);
        }
        EXPECT_EQ(packedChars, looseChars);
        EXPECT_EQ(packedChars, Without(bytes, '\r'));
        FSeek(packed, 0, SEEK_SET);
        std::string lines;
        char line[64];
        while (FGetS(line, sizeof line, packed)) lines += line;
        EXPECT_EQ(FTell(packed), size);
        if (name.ends_with(".xml")) {
            EXPECT_EQ(lines, packedChars);
        }
        FClose(packed);
        FClose(loose);
    }

    // The search lists the archived names first, then the loose files of the same pattern.
    dir.Write("images/loose.gif", "x");
    PakFindData data;
    std::vector<std::string> names;
    PakSearch* s = FindFirstFile("images\\*.gif", &data);
    ASSERT_NE(s, nullptr);
    do {
        names.push_back(data.fileName);
    } while (FindNextFile(s, &data));
    FindClose(s);
    EXPECT_EQ(names, (std::vector<std::string>{"flag.gif", "loose.gif"}));
}

}  // namespace

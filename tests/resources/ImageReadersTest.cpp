#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "files/TempDir.h"
#include "resources/GifReader.h"
#include "resources/ImageFile.h"
#include "resources/ImageFixtures.h"
#include "resources/Jpeg2000Reader.h"
#include "resources/JpegReader.h"
#include "resources/PngReader.h"
#include "resources/TgaReader.h"

using namespace Zarvo;

namespace {

using Reader = std::unique_ptr<DecodedImage> (*)(const std::string&);

// The 4 x 2 source of the rgba fixtures, as 0xAARRGGBB.
const std::vector<uint32_t> kRgba = {0xFFFF0000, 0x8000FF00, 0x000000FF, 0xFFFFFFFF,
                                     0xFF000000, 0xC8123456, 0xFFFF8000, 0x280A141E};

// The colour of the 16 x 16 quadrant fixtures at (x, y).
uint32_t Quadrant(int x, int y, bool grey) {
    static const uint32_t kColour[] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};
    static const uint32_t kGrey[] = {0xFF000000, 0xFF555555, 0xFFAAAAAA, 0xFFFFFFFF};
    int q = (y >= 8) * 2 + (x >= 8);
    return grey ? kGrey[q] : kColour[q];
}

// Each channel within tolerance.
::testing::AssertionResult Near(uint32_t actual, uint32_t expected, int tolerance) {
    for (int shift = 0; shift < 32; shift += 8) {
        int a = int(actual >> shift & 0xFF), e = int(expected >> shift & 0xFF);
        if (std::abs(a - e) > tolerance) {
            char text[64];
            std::snprintf(text, sizeof text, "0x%08X vs expected 0x%08X", actual, expected);
            return ::testing::AssertionFailure() << text;
        }
    }
    return ::testing::AssertionSuccess();
}

TEST(ImageReadersTest, DecodesTheRgbaFixtures) {
    struct Case {
        const char* file;
        Reader read;
    } cases[] = {{"rgba.png", PngReader::Read},
                 {"rgba_interlaced.png", PngReader::Read},
                 {"rgba16.png", PngReader::Read}};
    for (const Case& c : cases) {
        auto image = c.read(FixturePath(c.file));
        ASSERT_NE(image, nullptr) << c.file;
        ASSERT_EQ(image->width, 4);
        ASSERT_EQ(image->height, 2);
        for (int i = 0; i < 8; ++i) EXPECT_TRUE(Near(image->bits[i], kRgba[i], 0)) << c.file << i;
    }
}

TEST(ImageReadersTest, DecodesTheQuadrantFixtures) {
    struct Case {
        const char* file;
        Reader read;
        bool grey;
        int tolerance;  // lossy formats are checked away from the quadrant edges
    } cases[] = {
        {"quad_palette.png", PngReader::Read, false, 0},
        {"grey2.png", PngReader::Read, true, 0},
        {"quad.gif", GifReader::Read, false, 0},
        {"quad_interlaced.gif", GifReader::Read, false, 0},
        {"quad.jpg", JpegReader::Read, false, 12},
        {"grey.jpg", JpegReader::Read, true, 6},
        {"quad.jp2", Jpeg2000Reader::Read, false, 12},
        {"quad.j2k", Jpeg2000Reader::Read, false, 12},
    };
    for (const Case& c : cases) {
        auto image = c.read(FixturePath(c.file));
        ASSERT_NE(image, nullptr) << c.file;
        ASSERT_EQ(image->width, 16);
        ASSERT_EQ(image->height, 16);
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                bool edge = x % 8 == 0 || x % 8 == 7 || y % 8 == 0 || y % 8 == 7;
                if (c.tolerance > 0 && edge) continue;
                EXPECT_TRUE(Near(image->bits[y * 16 + x], Quadrant(x, y, c.grey), c.tolerance))
                    << c.file << " at " << x << "," << y;
            }
        }
    }
}

class ImageFilesTest : public ::testing::Test {
protected:
    std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) {
        dir.Write(name, bytes);
        return dir / name;
    }
    static std::vector<uint8_t> Fixture(const std::string& name) {
        std::ifstream in(FixturePath(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    TempDir dir;
};

TEST_F(ImageFilesTest, TgaAcceptsOnlyTopLeft32BitTrueColour) {
    const std::vector<uint32_t> pixels = {0xFF102030, 0x80405060, 0x00708090, 0x11223344};
    auto image = TgaReader::Read(Write("ok.tga", MakeTga(2, 2, pixels)));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(std::vector<uint32_t>(image->bits.get(), image->bits.get() + 4), pixels);
    // An identification field sits between header and pixels.
    image = TgaReader::Read(Write("id.tga", MakeTga(2, 2, pixels, 32, 0x28, 2, "kelvane")));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->bits[3], 0x11223344u);

    auto truncated = MakeTga(2, 2, pixels);
    truncated.pop_back();
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
    } bad[] = {
        {"24 bits", MakeTga(2, 2, pixels, 24, 0x28)},
        {"bottom-left origin", MakeTga(2, 2, pixels, 32, 0x08)},
        {"run-length", MakeTga(2, 2, pixels, 32, 0x28, 10)},
        {"header promises more pixels", truncated},
        {"huge header, no pixels", MakeTga(65535, 65535, {})},
        {"zero width", MakeTga(0, 2, {})},
        {"short header", {0, 0, 2, 0}},
    };
    for (const Case& c : bad)
        EXPECT_EQ(TgaReader::Read(Write("bad.tga", c.bytes)), nullptr) << c.what;
    EXPECT_EQ(TgaReader::Read(dir / "missing.tga"), nullptr);
}

TEST_F(ImageFilesTest, FilesLargerThanTheReadLimitAreRefused) {
    // A small image followed by zeros (a sparse file) up to the limit and one byte past it.
    const std::vector<uint32_t> pixels = {0xFF102030, 0x80405060, 0x00708090, 0x11223344};
    for (const size_t size : {ImageFile::kMaxBytes, ImageFile::kMaxBytes + 1}) {
        const std::string path = Write("padded.tga", MakeTga(2, 2, pixels));
        std::filesystem::resize_file(path, size);
        EXPECT_EQ(TgaReader::Read(path) != nullptr, size <= ImageFile::kMaxBytes) << size;
    }
}

TEST_F(ImageFilesTest, GifTablesTransparencyAndInterlacing) {
    GifSpec g;
    g.width = 3;
    g.height = 2;
    g.globalTable = {0x000000, 0x111111, 0x222222, 0x333333,
                     0x444444, 0x555555, 0x666666, 0x777777};
    g.transparent = 5;
    g.indices = {1, 5, 2, 5, 7, 0};
    auto image = GifReader::Read(Write("t.gif", MakeGif(g)));
    ASSERT_NE(image, nullptr);
    std::vector<uint32_t> expected = {0xFF111111, 0, 0xFF222222, 0, 0xFF777777, 0xFF000000};
    EXPECT_EQ(std::vector<uint32_t>(image->bits.get(), image->bits.get() + 6), expected);

    // A local table replaces the global one.
    g.transparent = -1;
    g.localTable = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0, 0, 0, 0};
    g.indices = {0, 1, 2, 3, 0, 1};
    image = GifReader::Read(Write("l.gif", MakeGif(g)));
    ASSERT_NE(image, nullptr);
    expected = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF, 0xFFFF0000, 0xFF00FF00};
    EXPECT_EQ(std::vector<uint32_t>(image->bits.get(), image->bits.get() + 6), expected);

    // Interlaced rows arrive as 0, 8 | 4 | 2, 6 | 1, 3, 5, 7, 9: row r holds index r.
    GifSpec tall;
    tall.width = 1;
    tall.height = 10;
    tall.globalTable.resize(16);
    for (int i = 0; i < 16; ++i) tall.globalTable[i] = uint32_t(i);
    tall.interlaced = true;
    tall.minCodeSize = 4;
    tall.indices = {0, 8, 4, 2, 6, 1, 3, 5, 7, 9};
    image = GifReader::Read(Write("i.gif", MakeGif(tall)));
    ASSERT_NE(image, nullptr);
    for (int row = 0; row < 10; ++row) EXPECT_EQ(image->bits[row], 0xFF000000u | row) << row;
}

TEST_F(ImageFilesTest, GifRejectsDamagedFiles) {
    GifSpec g;
    g.width = 2;
    g.height = 2;
    g.globalTable = {0, 0x111111, 0x222222, 0x333333, 0, 0, 0, 0};
    g.indices = {1, 2, 3, 1};
    const auto good = MakeGif(g);
    ASSERT_NE(GifReader::Read(Write("good.gif", good)), nullptr);

    GifSpec pastTable = g;  // clear, a literal, then a code two past the next free entry
    pastTable.codes = {8, 1, 11, 9};
    GifSpec firstNotLiteral = g;
    firstNotLiteral.codes = {8, 10, 9};
    GifSpec tooFew = g;
    tooFew.indices = {1, 2, 3};
    GifSpec zero = g;
    zero.width = 0;
    GifSpec bigCodes = g;
    bigCodes.minCodeSize = 12;
    auto cut = good;
    cut.resize(cut.size() - 6);
    auto trailerFirst = good;
    trailerFirst[13 + 24] = ';';  // where the first extension starts
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
    } bad[] = {
        {"code past the table", MakeGif(pastTable)},
        {"first code not a literal", MakeGif(firstNotLiteral)},
        {"fewer pixels than the size", MakeGif(tooFew)},
        {"zero width", MakeGif(zero)},
        {"code size above 12 bits", MakeGif(bigCodes)},
        {"cut inside the data", cut},
        {"trailer before the image", trailerFirst},
        {"wrong signature", Bytes("GIF90a....")},
        {"header only", Bytes("GIF89a")},
    };
    for (const Case& c : bad)
        EXPECT_EQ(GifReader::Read(Write("bad.gif", c.bytes)), nullptr) << c.what;
}

// A PNG made of a signature and an IHDR chunk with a valid CRC, then the given tail.
std::vector<uint8_t> PngHeader(uint32_t w, uint32_t h) {
    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> chunk = {'I', 'H', 'D', 'R'};
    for (uint32_t v : {w, h}) {
        for (int s = 24; s >= 0; s -= 8) chunk.push_back(uint8_t(v >> s));
    }
    chunk.insert(chunk.end(), {8, 6, 0, 0, 0});
    out.insert(out.end(), {0, 0, 0, 13});
    out.insert(out.end(), chunk.begin(), chunk.end());
    uint32_t crc = uint32_t(crc32(0, chunk.data(), uInt(chunk.size())));
    for (int s = 24; s >= 0; s -= 8) out.push_back(uint8_t(crc >> s));
    return out;
}

TEST_F(ImageFilesTest, PngRejectsDamagedAndOversizedFiles) {
    auto png = Fixture("rgba.png");
    auto half = std::vector<uint8_t>(png.begin(), png.begin() + long(png.size() / 2));
    auto badCrc = png;
    badCrc[29] ^= 0xFF;  // inside IHDR's CRC
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
    } bad[] = {
        {"width times height overflows", PngHeader(0x10000, 0x10000)},
        {"beyond the size limit", PngHeader(8192, 8192)},
        {"largest legal size", PngHeader(0x7FFFFFFF, 0x7FFFFFFF)},
        {"cut in half (Read Error)", half},
        {"damaged header checksum", badCrc},
        {"not a PNG", Bytes("GIF89a not a png at all")},
        {"empty", {}},
    };
    for (const Case& c : bad)
        EXPECT_EQ(PngReader::Read(Write("bad.png", c.bytes)), nullptr) << c.what;
    EXPECT_EQ(PngReader::Read(dir / "missing.png"), nullptr);
}

TEST_F(ImageFilesTest, JpegRejectsDamagedFiles) {
    auto jpg = Fixture("quad.jpg");
    auto cut = std::vector<uint8_t>(jpg.begin(), jpg.begin() + long(jpg.size() - 40));
    auto headerOnly = std::vector<uint8_t>(jpg.begin(), jpg.begin() + 20);
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
    } bad[] = {
        {"cut before the end", cut},
        {"header only", headerOnly},
        {"not a JPEG", Bytes("\x89PNG not a jpeg")},
        {"empty", {}},
    };
    for (const Case& c : bad)
        EXPECT_EQ(JpegReader::Read(Write("bad.jpg", c.bytes)), nullptr) << c.what;
}

TEST_F(ImageFilesTest, Jpeg2000NeedsItsLibrary) {
    auto j2k = Fixture("quad.j2k");
    auto cut = std::vector<uint8_t>(j2k.begin(), j2k.begin() + 60);
    EXPECT_EQ(Jpeg2000Reader::Read(Write("cut.j2k", cut)), nullptr);
    EXPECT_EQ(Jpeg2000Reader::Read(Write("junk.jp2", Bytes("not jpeg 2000"))), nullptr);

    EXPECT_FALSE(Jpeg2000Reader::LoadLibrary("libkelvane-no-such-codec.so"));
    EXPECT_FALSE(Jpeg2000Reader::IsAvailable());
    EXPECT_EQ(Jpeg2000Reader::Read(FixturePath("quad.j2k")), nullptr);
    Jpeg2000Reader::UnloadLibrary();  // the next read loads the real library again
    EXPECT_NE(Jpeg2000Reader::Read(FixturePath("quad.j2k")), nullptr);
}

}  // namespace

// Screenshots are written as RGB PNG files that the game's own reader reads back exactly.
#include "resources/PngWriter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "files/TempDir.h"
#include "resources/PngReader.h"

using namespace Zarvo;

namespace {

TEST(PngWriterTest, RowsAreWrittenWithoutTheirPaddingAndReadBackOpaque) {
    TempDir folder;
    // 3 x 2 pixels in rows of 5: the padding must not reach the file; alpha is dropped.
    const std::vector<uint32_t> pixels = {0x00FF0000, 0x8000FF00, 0xFF0000FF, 0xDEAD, 0xBEEF,
                                          0x12345678, 0xFFFFFFFF, 0x00000000, 0xDEAD, 0xBEEF};
    const std::string path = folder / "shot.png";
    ASSERT_TRUE(PngWriter::WriteRgb(path, pixels.data(), 3, 2, 5));
    auto image = PngReader::Read(path);
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(image->width, 3);
    ASSERT_EQ(image->height, 2);
    const uint32_t expected[] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF,
                                 0xFF345678, 0xFFFFFFFF, 0xFF000000};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(image->bits[i], expected[i]) << i;
}

TEST(PngWriterTest, AFolderThatCannotTakeTheFileOrAnEmptyImageWritesNothing) {
    TempDir folder;
    const uint32_t pixel = 0xFF000000;
    EXPECT_FALSE(PngWriter::WriteRgb(folder / "missing/shot.png", &pixel, 1, 1, 1));
    EXPECT_FALSE(PngWriter::WriteRgb(folder / "empty.png", &pixel, 0, 1, 1));
    EXPECT_FALSE(PngWriter::WriteRgb(folder / "narrow.png", &pixel, 2, 1, 1));
    EXPECT_FALSE(std::filesystem::exists(folder / "empty.png"));
    EXPECT_FALSE(std::filesystem::exists(folder / "narrow.png"));
}

}  // namespace

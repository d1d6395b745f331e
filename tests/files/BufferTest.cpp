#include "files/Buffer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace Zarvo;

namespace {

std::vector<uint8_t> BytesOf(const Buffer& b) {
    return b.Bytes();
}

TEST(BufferTest, WritesLittleEndianTypedValues) {
    Buffer b;
    b.WriteShort(0x1234);
    b.WriteShort(-2);
    b.WriteLong(0x01020304);
    b.WriteLong(-1);
    b.WriteBoolean(true);
    b.WriteBoolean(false);
    b.WriteString("ab");
    b.WriteString("");
    const std::vector<uint8_t> expected = {0x34, 0x12, 0xFE, 0xFF, 0x04, 0x03, 0x02,
                                           0x01, 0xFF, 0xFF, 0xFF, 0xFF, 1,    0,
                                           2,    0,    'a',  'b',  0,    0};
    EXPECT_EQ(BytesOf(b), expected);
}

TEST(BufferTest, ReadsBackWhatWasWritten) {
    Buffer b;
    b.WriteShort(-32768);
    b.WriteLong(-2147483647 - 1);
    b.WriteBoolean(true);
    b.WriteString(" ");
    b.WriteString(std::string("a\0b", 3));
    Buffer r(b.Data(), b.Size());
    EXPECT_EQ(r.ReadShort(), -32768);
    EXPECT_EQ(r.ReadLong(), -2147483647 - 1);
    EXPECT_TRUE(r.ReadBoolean());
    EXPECT_EQ(r.ReadString(), " ");
    EXPECT_EQ(r.ReadString(), std::string("a\0b", 3));
    EXPECT_TRUE(r.AtEnd());
}

TEST(BufferTest, AnyNonZeroByteReadsAsTrue) {
    const uint8_t bytes[] = {0, 1, 2, 0xFF};
    Buffer r(bytes, sizeof bytes);
    EXPECT_FALSE(r.ReadBoolean());
    EXPECT_TRUE(r.ReadBoolean());
    EXPECT_TRUE(r.ReadBoolean());
    EXPECT_TRUE(r.ReadBoolean());
}

TEST(BufferTest, ReadingPastTheEndYieldsZeros) {
    const uint8_t bytes[] = {0x34, 0x12, 0x78};
    Buffer r(bytes, sizeof bytes);
    EXPECT_EQ(r.ReadShort(), 0x1234);
    EXPECT_EQ(r.ReadShort(), 0x0078);  // the missing high byte reads as zero
    EXPECT_TRUE(r.AtEnd());
    EXPECT_EQ(r.ReadLong(), 0);
    EXPECT_FALSE(r.ReadBoolean());
    EXPECT_EQ(r.ReadString(), "");
    EXPECT_EQ(r.ReadPosition(), sizeof bytes);

    Buffer empty;
    EXPECT_EQ(empty.ReadShort(), 0);
    EXPECT_EQ(empty.ReadLong(), 0);
}

TEST(BufferTest, StringLengthsOfZeroOrLessAreEmptyAndShortStringsArePaddedWithZeros) {
    struct Case {
        std::vector<uint8_t> bytes;
        std::string expected;
        size_t consumed;
    };
    const Case cases[] = {
        {{0, 0, 'x'}, "", 2},
        {{0xFF, 0xFF, 'x'}, "", 2},  // -1
        {{0x00, 0x80, 'x'}, "", 2},  // -32768
        {{3, 0, 'a', 'b'}, std::string("ab\0", 3), 4},
        {{2, 0}, std::string(2, '\0'), 2},
    };
    for (const Case& c : cases) {
        Buffer r(c.bytes.data(), c.bytes.size());
        EXPECT_EQ(r.ReadString(), c.expected);
        EXPECT_EQ(r.ReadPosition(), c.consumed);
    }
}

TEST(BufferTest, OverlongStringIsCutToWhatThePrefixCanSay) {
    Buffer b;
    b.WriteString(std::string(Buffer::kMaxStringBytes + 10, 'z'));
    ASSERT_EQ(b.Size(), 2 + Buffer::kMaxStringBytes);
    Buffer r(b.Data(), b.Size());
    EXPECT_EQ(r.ReadString(), std::string(Buffer::kMaxStringBytes, 'z'));
    EXPECT_TRUE(r.AtEnd());
}

TEST(BufferTest, SetDataReplacesContentsAndRewinds) {
    Buffer b;
    b.WriteLong(7);
    EXPECT_EQ(b.ReadLong(), 7);
    const uint8_t bytes[] = {5, 0};
    b.SetData(bytes, sizeof bytes);
    EXPECT_EQ(b.Size(), 2u);
    EXPECT_EQ(b.ReadShort(), 5);
    b.SeekFront();
    EXPECT_EQ(b.ReadShort(), 5);
    b.Clear();
    EXPECT_EQ(b.Size(), 0u);
    EXPECT_EQ(b.ReadShort(), 0);
}

}  // namespace

// The bounds-checked byte reader the image and sound parsers share.
#include <gtest/gtest.h>

#include <cstdint>

#include "files/ByteReader.h"

namespace Zarvo {
namespace {

TEST(ByteReaderTest, ReadsBothByteOrders) {
    const uint8_t bytes[] = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A,
                             0x0B, 0x0C, 0x0D, 0x0E, 0x0F, 0x10, 0x11, 0x12, 0x13};
    ByteReader in(bytes, sizeof bytes);
    EXPECT_EQ(in.U8(), 0x01);
    EXPECT_EQ(in.U16LE(), 0x0302);
    EXPECT_EQ(in.U32LE(), 0x07060504u);
    EXPECT_EQ(in.U32BE(), 0x08090A0Bu);
    EXPECT_EQ(in.U64LE(), 0x131211100F0E0D0Cull);
    EXPECT_TRUE(in.Ok());
    EXPECT_EQ(in.Remaining(), 0u);
}

TEST(ByteReaderTest, AReadPastTheEndYieldsZeroAndStaysFailed) {
    const uint8_t bytes[] = {0xAA, 0xBB, 0xCC};
    struct Case {
        const char* what;
        uint64_t (*read)(ByteReader&);
    };
    const Case cases[] = {
        {"U32LE", [](ByteReader& r) -> uint64_t { return r.U32LE(); }},
        {"U32BE", [](ByteReader& r) -> uint64_t { return r.U32BE(); }},
        {"U64LE", [](ByteReader& r) -> uint64_t { return r.U64LE(); }},
        {"Take", [](ByteReader& r) -> uint64_t { return r.Take(4) != nullptr; }},
    };
    for (const Case& c : cases) {
        ByteReader in(bytes, sizeof bytes);
        EXPECT_EQ(c.read(in), 0u) << c.what;
        EXPECT_FALSE(in.Ok()) << c.what;
        EXPECT_EQ(in.Remaining(), 0u) << c.what;
        EXPECT_EQ(in.U8(), 0u) << c.what;  // nothing more is read after a failure
        EXPECT_FALSE(in.Ok()) << c.what;
    }
    ByteReader in(bytes, sizeof bytes);
    EXPECT_TRUE(in.Skip(0));
    EXPECT_NE(in.Take(3), nullptr);
    EXPECT_TRUE(in.Ok());
}

}  // namespace
}  // namespace Zarvo

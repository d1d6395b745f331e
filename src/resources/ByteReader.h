// Bounds-checked little-endian reads from a byte buffer. A read past the end yields zeros and
// clears Ok(), so a parser can read a whole header and check once.
#pragma once

#include <cstddef>
#include <cstdint>

namespace Zarvo {

class ByteReader {
public:
    ByteReader(const uint8_t* data, size_t size) : mData(data), mSize(size) {}

    uint8_t U8() {
        if (mPos >= mSize) {
            mOk = false;
            return 0;
        }
        return mData[mPos++];
    }
    uint16_t U16() {
        uint16_t low = U8();
        return static_cast<uint16_t>(low | U8() << 8);
    }
    // The next count bytes, or null (and not Ok) when fewer are left.
    const uint8_t* Take(size_t count) {
        if (mSize - mPos < count) {
            mOk = false;
            mPos = mSize;
            return nullptr;
        }
        const uint8_t* p = mData + mPos;
        mPos += count;
        return p;
    }
    bool Skip(size_t count) { return Take(count) != nullptr || count == 0; }
    size_t Left() const { return mSize - mPos; }
    bool Ok() const { return mOk; }

private:
    const uint8_t* mData;
    size_t mSize;
    size_t mPos = 0;
    bool mOk = true;
};

}  // namespace Zarvo

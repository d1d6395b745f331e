// Bounds-checked reading of little- and big-endian integers from a byte span. A read past the
// end touches nothing outside the span: it yields zero (or null), moves to the end and clears
// Ok() for good, so a parser can read a whole header and check once.
#pragma once

#include <cstddef>
#include <cstdint>

namespace Zarvo {

class ByteReader {
public:
    ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    size_t Position() const { return pos_; }
    size_t Remaining() const { return size_ - pos_; }
    // The next unread byte; only meaningful while Remaining() > 0.
    const uint8_t* Here() const { return data_ + pos_; }
    bool Ok() const { return ok_; }

    // The next count bytes, or null (and not Ok) when fewer are left.
    const uint8_t* Take(size_t count) {
        if (count > Remaining()) {
            ok_ = false;
            pos_ = size_;
            return nullptr;
        }
        const uint8_t* p = data_ + pos_;
        pos_ += count;
        return p;
    }
    bool Skip(size_t count) { return Take(count) != nullptr || count == 0; }

    uint8_t U8() {
        const uint8_t* p = Take(1);
        return p != nullptr ? p[0] : 0;
    }
    uint16_t U16LE() {
        const uint8_t* p = Take(2);
        return p != nullptr ? static_cast<uint16_t>(p[0] | (p[1] << 8)) : 0;
    }
    uint32_t U32LE() {
        const uint8_t* p = Take(4);
        if (p == nullptr) return 0;
        return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
               (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
    }
    uint64_t U64LE() {
        if (Remaining() < 8) {
            Take(8);
            return 0;
        }
        const uint64_t low = U32LE();
        return (static_cast<uint64_t>(U32LE()) << 32) | low;
    }
    uint32_t U32BE() {
        const uint8_t* p = Take(4);
        if (p == nullptr) return 0;
        return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
               (static_cast<uint32_t>(p[2]) << 8) | static_cast<uint32_t>(p[3]);
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
    bool ok_ = true;
};

}  // namespace Zarvo

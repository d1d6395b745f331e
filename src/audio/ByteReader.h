#pragma once
// Bounds-checked reading of little- and big-endian integers from a byte span; every read past the
// end fails instead of touching memory outside the span.
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace Zarvo {

class ByteReader {
public:
    ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    size_t Position() const { return pos_; }
    size_t Remaining() const { return size_ - pos_; }
    const uint8_t* Here() const { return data_ + pos_; }

    bool Skip(size_t n) {
        if (n > Remaining()) return false;
        pos_ += n;
        return true;
    }
    bool Bytes(void* out, size_t n) {
        if (n > Remaining()) return false;
        if (n > 0) std::memcpy(out, data_ + pos_, n);
        pos_ += n;
        return true;
    }
    bool U8(uint8_t& v) { return Bytes(&v, 1); }
    bool U16LE(uint16_t& v) {
        uint8_t b[2];
        if (!Bytes(b, 2)) return false;
        v = static_cast<uint16_t>(b[0] | (b[1] << 8));
        return true;
    }
    bool U32LE(uint32_t& v) {
        uint8_t b[4];
        if (!Bytes(b, 4)) return false;
        v = static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
            (static_cast<uint32_t>(b[2]) << 16) | (static_cast<uint32_t>(b[3]) << 24);
        return true;
    }
    bool U64LE(uint64_t& v) {
        uint32_t lo, hi;
        if (!U32LE(lo) || !U32LE(hi)) return false;
        v = (static_cast<uint64_t>(hi) << 32) | lo;
        return true;
    }
    bool U32BE(uint32_t& v) {
        uint8_t b[4];
        if (!Bytes(b, 4)) return false;
        v = (static_cast<uint32_t>(b[0]) << 24) | (static_cast<uint32_t>(b[1]) << 16) |
            (static_cast<uint32_t>(b[2]) << 8) | static_cast<uint32_t>(b[3]);
        return true;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

}  // namespace Zarvo

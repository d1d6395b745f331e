// A byte buffer for small binary records: typed writes append at the end, typed reads consume
// from a read position. Every integer is little-endian: a short is 2 bytes (int16), a long 4
// bytes (int32), a bool 1 byte (written 1 or 0, read as true when not 0), and a string is a short
// length followed by that many bytes without a terminator. Reading past the end of the data yields
// zero bytes, so a record cut short reads as zeros for whatever is missing; no read ever fails.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace Zarvo {

class Buffer {
public:
    // The longest string a short length prefix can describe.
    static constexpr size_t kMaxStringBytes = 32767;

    Buffer() = default;
    // A buffer holding a copy of `size` bytes, read position at the front.
    Buffer(const void* data, size_t size);

    // Replaces the contents with a copy of `size` bytes and moves the read position to the front.
    void SetData(const void* data, size_t size);
    void Clear();

    const uint8_t* Data() const { return bytes_.data(); }
    size_t Size() const { return bytes_.size(); }
    const std::vector<uint8_t>& Bytes() const { return bytes_; }

    void WriteByte(uint8_t value);
    void WriteShort(int16_t value);
    void WriteLong(int32_t value);
    void WriteBoolean(bool value);
    // A text longer than kMaxStringBytes is cut to that length, so the prefix always tells the
    // truth about the bytes that follow.
    void WriteString(const std::string& text);

    uint8_t ReadByte();
    int16_t ReadShort();
    int32_t ReadLong();
    bool ReadBoolean();
    // A length of 0 or less reads as an empty string; bytes missing at the end read as zeros.
    std::string ReadString();

    size_t ReadPosition() const { return readPosition_; }
    void SeekFront() { readPosition_ = 0; }
    // True once every byte of the data has been read.
    bool AtEnd() const { return readPosition_ >= bytes_.size(); }

private:
    std::vector<uint8_t> bytes_;
    size_t readPosition_ = 0;
};

}  // namespace Zarvo

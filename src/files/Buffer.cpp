#include "files/Buffer.h"

#include <algorithm>

namespace Zarvo {

Buffer::Buffer(const void* data, size_t size) {
    SetData(data, size);
}

void Buffer::SetData(const void* data, size_t size) {
    const auto* first = static_cast<const uint8_t*>(data);
    if (first == nullptr) size = 0;
    bytes_.assign(first, first + size);
    readPosition_ = 0;
}

void Buffer::Clear() {
    bytes_.clear();
    readPosition_ = 0;
}

void Buffer::WriteByte(uint8_t value) {
    bytes_.push_back(value);
}

void Buffer::WriteShort(int16_t value) {
    const auto bits = static_cast<uint16_t>(value);
    WriteByte(static_cast<uint8_t>(bits & 0xFF));
    WriteByte(static_cast<uint8_t>(bits >> 8));
}

void Buffer::WriteLong(int32_t value) {
    const auto bits = static_cast<uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) WriteByte(static_cast<uint8_t>(bits >> shift));
}

void Buffer::WriteBoolean(bool value) {
    WriteByte(value ? 1 : 0);
}

void Buffer::WriteString(const std::string& text) {
    const size_t length = std::min(text.size(), kMaxStringBytes);
    WriteShort(static_cast<int16_t>(length));
    bytes_.insert(bytes_.end(), text.begin(), text.begin() + static_cast<std::ptrdiff_t>(length));
}

uint8_t Buffer::ReadByte() {
    if (readPosition_ >= bytes_.size()) return 0;
    return bytes_[readPosition_++];
}

int16_t Buffer::ReadShort() {
    uint16_t bits = ReadByte();
    bits = static_cast<uint16_t>(bits | (ReadByte() << 8));
    return static_cast<int16_t>(bits);
}

int32_t Buffer::ReadLong() {
    uint32_t bits = 0;
    for (int shift = 0; shift < 32; shift += 8) bits |= static_cast<uint32_t>(ReadByte()) << shift;
    return static_cast<int32_t>(bits);
}

bool Buffer::ReadBoolean() {
    return ReadByte() != 0;
}

std::string Buffer::ReadString() {
    const int length = ReadShort();
    if (length <= 0) return std::string();
    std::string text(static_cast<size_t>(length), '\0');
    const size_t available = readPosition_ < bytes_.size() ? bytes_.size() - readPosition_ : 0;
    const size_t copied = std::min(available, text.size());
    std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(readPosition_), copied, text.begin());
    readPosition_ += copied;
    return text;
}

}  // namespace Zarvo

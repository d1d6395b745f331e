#include "audio/AuReader.h"

#include <cstring>

#include "audio/SoundLimits.h"
#include "files/ByteReader.h"

namespace Zarvo {

namespace {
enum Encoding : uint32_t { kMuLaw = 1, kLinear8 = 2, kLinear16 = 3, kALaw = 27 };

int16_t MuLaw(uint8_t v) {
    v = static_cast<uint8_t>(~v);
    const int exponent = (v >> 4) & 7;
    const int mantissa = v & 15;
    const int magnitude = (((mantissa << 3) + 0x84) << exponent) - 0x84;
    return static_cast<int16_t>((v & 0x80) ? -magnitude : magnitude);
}

int16_t ALaw(uint8_t v) {
    v ^= 0x55;
    const int exponent = (v >> 4) & 7;
    const int mantissa = v & 15;
    int magnitude =
        exponent == 0 ? (mantissa << 4) + 8 : ((mantissa << 4) + 0x108) << (exponent - 1);
    return static_cast<int16_t>((v & 0x80) ? magnitude : -magnitude);
}
}  // namespace

bool AuReader::Read(const uint8_t* data, size_t size, SoundData& out) {
    ByteReader reader(data, size);
    const uint8_t* magic = reader.Take(4);
    if (magic == nullptr || std::memcmp(magic, ".snd", 4) != 0) return false;
    const uint32_t offset = reader.U32BE();
    uint32_t length = reader.U32BE();
    const uint32_t encoding = reader.U32BE();
    const uint32_t rate = reader.U32BE();
    const uint32_t channels = reader.U32BE();
    if (!reader.Ok()) return false;
    if (offset < 24 || offset > size) return false;
    const size_t available = size - offset;
    // An unknown length (all ones) means: to the end of the file.
    if (length == 0xFFFFFFFFu) length = static_cast<uint32_t>(available);
    if (length > available) return false;  // truncated
    if (channels < 1 || channels > 2) return false;
    if (rate < SoundLimits::kMinRate || rate > SoundLimits::kMaxRate) return false;
    if (encoding != kMuLaw && encoding != kLinear8 && encoding != kLinear16 && encoding != kALaw) {
        return false;
    }
    const size_t bytesPerSample = encoding == kLinear16 ? 2 : 1;
    const size_t frames = length / (bytesPerSample * channels);
    if (frames == 0 || frames * channels > SoundLimits::kMaxSamples) return false;

    const uint8_t* samples = data + offset;
    SoundData decoded;
    decoded.channels = static_cast<int>(channels);
    decoded.sampleRate = static_cast<int>(rate);
    decoded.samples.resize(frames * channels);
    for (size_t i = 0; i < decoded.samples.size(); ++i) {
        switch (encoding) {
            case kMuLaw:
                decoded.samples[i] = MuLaw(samples[i]);
                break;
            case kALaw:
                decoded.samples[i] = ALaw(samples[i]);
                break;
            case kLinear8:
                decoded.samples[i] = static_cast<int16_t>(static_cast<int8_t>(samples[i]) * 256);
                break;
            default:
                decoded.samples[i] = static_cast<int16_t>(
                    static_cast<uint16_t>((samples[i * 2] << 8) | samples[i * 2 + 1]));
                break;
        }
    }
    out = std::move(decoded);
    return true;
}

}  // namespace Zarvo

#include "audio/WavReader.h"

#include <cstring>

#include "audio/ByteReader.h"
#include "audio/SoundLimits.h"

namespace Zarvo {

bool WavReader::Read(const uint8_t* data, size_t size, SoundData& out, Dependency* dependency) {
    ByteReader reader(data, size);
    char riff[4], wave[4];
    uint32_t riffLength;
    if (!reader.Bytes(riff, 4) || !reader.U32LE(riffLength) || !reader.Bytes(wave, 4)) {
        return false;
    }
    if (std::memcmp(riff, "RIFF", 4) != 0 || std::memcmp(wave, "WAVE", 4) != 0) return false;

    bool haveFormat = false;
    uint16_t tag = 0, channels = 0, bits = 0;
    uint32_t rate = 0;
    const uint8_t* samples = nullptr;
    size_t sampleBytes = 0;
    bool haveKey = false;
    uint8_t key = 0;
    Dependency dep;

    while (reader.Remaining() >= 8) {
        char id[4] = {};
        uint32_t length = 0;
        reader.Bytes(id, 4);
        reader.U32LE(length);
        if (length > reader.Remaining()) return false;  // truncated chunk
        ByteReader chunk(reader.Here(), length);
        if (std::memcmp(id, "fmt ", 4) == 0) {
            uint32_t bytesPerSecond;
            uint16_t blockAlign;
            if (!chunk.U16LE(tag) || !chunk.U16LE(channels) || !chunk.U32LE(rate) ||
                !chunk.U32LE(bytesPerSecond) || !chunk.U16LE(blockAlign) || !chunk.U16LE(bits)) {
                return false;
            }
            haveFormat = true;
        } else if (std::memcmp(id, "data", 4) == 0) {
            samples = reader.Here();
            sampleBytes = length;
        } else if (std::memcmp(id, "xor ", 4) == 0) {
            if (!chunk.U8(key)) return false;
            haveKey = true;
        } else if (std::memcmp(id, "dep ", 4) == 0) {
            uint16_t nameLength;
            uint64_t time;
            if (!chunk.U16LE(nameLength) || chunk.Remaining() < nameLength) return false;
            dep.name.assign(reinterpret_cast<const char*>(chunk.Here()), nameLength);
            chunk.Skip(nameLength);
            if (!chunk.U64LE(time)) return false;
            dep.time = static_cast<int64_t>(time);
            dep.present = true;
        }
        reader.Skip(length);
        // Standard files pad odd chunks with one zero byte; the cache writes none. A chunk id
        // never starts with a zero byte, so a zero here can only be padding.
        if ((length & 1) != 0 && reader.Remaining() > 0 && *reader.Here() == 0) reader.Skip(1);
    }

    // 0xFFFE is the extensible header, which plain PCM files also use.
    if (!haveFormat || samples == nullptr || (tag != 1 && tag != 0xFFFE)) return false;
    if (channels < 1 || channels > 2 || (bits != 8 && bits != 16)) return false;
    if (rate < SoundLimits::kMinRate || rate > SoundLimits::kMaxRate) return false;
    const size_t frameBytes = static_cast<size_t>(channels) * (bits / 8);
    const size_t frames = sampleBytes / frameBytes;
    if (frames == 0 || frames * channels > SoundLimits::kMaxSamples) return false;

    SoundData decoded;
    decoded.channels = channels;
    decoded.sampleRate = static_cast<int>(rate);
    decoded.samples.resize(frames * channels);
    const uint8_t mask = haveKey ? key : 0;
    for (size_t i = 0; i < decoded.samples.size(); ++i) {
        if (bits == 8) {
            decoded.samples[i] = static_cast<int16_t>(((samples[i] ^ mask) - 128) * 256);
        } else {
            const uint8_t lo = samples[i * 2] ^ mask;
            const uint8_t hi = samples[i * 2 + 1] ^ mask;
            decoded.samples[i] = static_cast<int16_t>(static_cast<uint16_t>(lo | (hi << 8)));
        }
    }
    out = std::move(decoded);
    if (dependency) *dependency = std::move(dep);
    return true;
}

}  // namespace Zarvo

#include "audio/WavReader.h"

#include <cstring>

#include "audio/SoundLimits.h"
#include "files/ByteReader.h"

namespace Zarvo {

bool WavReader::Read(const uint8_t* data, size_t size, SoundData& out, Dependency* dependency) {
    ByteReader reader(data, size);
    const uint8_t* riff = reader.Take(4);
    reader.U32LE();  // the RIFF length
    const uint8_t* wave = reader.Take(4);
    if (!reader.Ok()) return false;
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
        const uint8_t* id = reader.Take(4);
        const uint32_t length = reader.U32LE();
        if (length > reader.Remaining()) return false;  // truncated chunk
        ByteReader chunk(reader.Here(), length);
        if (std::memcmp(id, "fmt ", 4) == 0) {
            tag = chunk.U16LE();
            channels = chunk.U16LE();
            rate = chunk.U32LE();
            chunk.U32LE();  // bytes per second
            chunk.U16LE();  // block align
            bits = chunk.U16LE();
            if (!chunk.Ok()) return false;
            haveFormat = true;
        } else if (std::memcmp(id, "data", 4) == 0) {
            samples = reader.Here();
            sampleBytes = length;
        } else if (std::memcmp(id, "xor ", 4) == 0) {
            key = chunk.U8();
            if (!chunk.Ok()) return false;
            haveKey = true;
        } else if (std::memcmp(id, "dep ", 4) == 0) {
            const uint16_t nameLength = chunk.U16LE();
            const uint8_t* name = chunk.Take(nameLength);
            const uint64_t time = chunk.U64LE();
            if (!chunk.Ok()) return false;
            dep.name.assign(reinterpret_cast<const char*>(name), nameLength);
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

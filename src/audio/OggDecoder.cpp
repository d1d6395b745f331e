#include "audio/OggDecoder.h"

#include <cstring>

#include "audio/OggStreamSource.h"
#include "audio/SoundLimits.h"
#include "files/ByteReader.h"

namespace Zarvo {

bool OggDecoder::PagesComplete(const std::vector<uint8_t>& bytes) {
    ByteReader reader(bytes.data(), bytes.size());
    bool sawPage = false;
    bool lastEndsStream = false;
    while (reader.Remaining() >= 4 && std::memcmp(reader.Here(), "OggS", 4) == 0) {
        reader.Skip(4);
        reader.U8();  // version
        const uint8_t flags = reader.U8();
        reader.Skip(20);  // granule position, serial number, sequence number, checksum
        const uint8_t segments = reader.U8();
        size_t body = 0;
        for (int i = 0; i < segments; ++i) body += reader.U8();
        if (!reader.Ok()) return false;
        if (!reader.Skip(body)) return false;  // the file ends inside this page
        sawPage = true;
        lastEndsStream = (flags & 4) != 0;
    }
    return sawPage && lastEndsStream;
}

bool OggDecoder::Decode(std::vector<uint8_t> bytes, SoundData& out) {
    if (!PagesComplete(bytes)) return false;
    auto source = OggStreamSource::Open(std::move(bytes));
    if (!source) return false;
    SoundData decoded;
    decoded.channels = source->Channels();
    decoded.sampleRate = source->SampleRate();
    constexpr int kChunkFrames = 4096;
    std::vector<int16_t> chunk(static_cast<size_t>(kChunkFrames) * decoded.channels);
    for (;;) {
        const int frames = source->Read(chunk.data(), kChunkFrames);
        if (frames <= 0) break;
        const size_t count = static_cast<size_t>(frames) * decoded.channels;
        if (decoded.samples.size() + count > SoundLimits::kMaxSamples) return false;
        decoded.samples.insert(decoded.samples.end(), chunk.begin(), chunk.begin() + count);
    }
    if (source->Damaged() || decoded.samples.empty()) return false;
    out = std::move(decoded);
    return true;
}

}  // namespace Zarvo

#pragma once
// Ogg Vorbis decoding from memory through libvorbisfile, as a music stream. Streams whose
// channel count or rate changes between chained sections end at the change.
#include <cstdint>
#include <memory>
#include <vector>

#include "audio/PcmSource.h"

namespace Zarvo {

class OggStreamSource : public PcmSource {
public:
    // Opens the Vorbis stream in `bytes` (kept by the source). Null when it is not a Vorbis
    // stream of one or two channels at a usable rate.
    static std::unique_ptr<OggStreamSource> Open(std::vector<uint8_t> bytes);
    ~OggStreamSource() override;
    OggStreamSource(const OggStreamSource&) = delete;
    OggStreamSource& operator=(const OggStreamSource&) = delete;

    int Channels() const override { return channels_; }
    int SampleRate() const override { return rate_; }
    int Read(int16_t* out, int frames) override;
    bool Seek(int64_t frame) override;

    // True once a read met damaged data (a gap or a decoding error).
    bool Damaged() const { return damaged_; }

    // Decoder state; public only so the memory callbacks can name it.
    struct State;

private:
    OggStreamSource();

    std::unique_ptr<State> state_;
    int channels_ = 0;
    int rate_ = 0;
    bool damaged_ = false;
};

}  // namespace Zarvo

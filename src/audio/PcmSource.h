#pragma once
// A music stream for the mixer: produces interleaved signed 16-bit frames at its own rate and
// channel count; the mixer resamples it to the output. Called under the mixer's lock only.
#include <cstdint>

namespace Zarvo {

class PcmSource {
public:
    virtual ~PcmSource() = default;
    virtual int Channels() const = 0;
    virtual int SampleRate() const = 0;
    // Reads up to `frames` frames; answers how many were read, 0 at the end of the stream.
    virtual int Read(int16_t* out, int frames) = 0;
    // Moves to `frame` (clamped to the stream); answers false when the stream cannot seek.
    virtual bool Seek(int64_t frame) = 0;
    // Asks the source to loop by itself (tracker modules do); answers false when the mixer must
    // loop it by seeking back to the start.
    virtual bool SetLooping(bool /*looping*/) { return false; }
    // Moves to a pattern order (tracker modules only); answers false elsewhere.
    virtual bool SeekOrder(int /*order*/) { return false; }
};

}  // namespace Zarvo

#pragma once
// A music stream over a sound decoded whole into memory (WAV music).
#include <memory>

#include "audio/PcmSource.h"
#include "audio/SoundData.h"

namespace Zarvo {

class MemoryPcmSource : public PcmSource {
public:
    explicit MemoryPcmSource(std::shared_ptr<const SoundData> sound) : sound_(std::move(sound)) {}

    int Channels() const override { return sound_->channels; }
    int SampleRate() const override { return sound_->sampleRate; }
    int Read(int16_t* out, int frames) override;
    bool Seek(int64_t frame) override;

private:
    std::shared_ptr<const SoundData> sound_;
    int64_t position_ = 0;
};

}  // namespace Zarvo

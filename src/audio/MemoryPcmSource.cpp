#include "audio/MemoryPcmSource.h"

#include <algorithm>
#include <cstring>

namespace Zarvo {

int MemoryPcmSource::Read(int16_t* out, int frames) {
    const int64_t left = sound_->Frames() - position_;
    const int count = static_cast<int>(std::clamp<int64_t>(left, 0, std::max(frames, 0)));
    if (count > 0) {
        std::memcpy(out, sound_->samples.data() + position_ * sound_->channels,
                    static_cast<size_t>(count) * sound_->channels * sizeof(int16_t));
        position_ += count;
    }
    return count;
}

bool MemoryPcmSource::Seek(int64_t frame) {
    position_ = std::clamp<int64_t>(frame, 0, sound_->Frames());
    return true;
}

}  // namespace Zarvo

#pragma once
// Bounds on decoded sounds, so that no file can ask for unbounded memory or absurd rates.
#include <cstddef>
#include <cstdint>

namespace Zarvo {

struct SoundLimits {
    static constexpr uint32_t kMinRate = 100;
    static constexpr uint32_t kMaxRate = 200000;
    // 64 MiB of 16-bit samples: over six minutes of 44.1 kHz stereo.
    static constexpr size_t kMaxSamples = size_t{32} << 20;
};

}  // namespace Zarvo

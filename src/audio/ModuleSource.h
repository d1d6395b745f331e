#pragma once
// A tracker module (MOD, S3M, XM, IT and the other formats libopenmpt reads) as a music stream,
// rendered at 44100 Hz stereo. Looping is left to the module player so that a song loops where
// its author said.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <sstream>
#include <vector>

#include "audio/PcmSource.h"

namespace openmpt {
class module;
}

namespace Zarvo {

class ModuleSource : public PcmSource {
public:
    // A module is held whole in memory, and the player keeps its own copy of the samples, so
    // larger files are refused; songs of the game are well under a megabyte.
    static constexpr size_t kMaxBytes = size_t{32} << 20;

    // Null when `bytes` hold no module libopenmpt can play or are more than kMaxBytes.
    static std::unique_ptr<ModuleSource> Open(const std::vector<uint8_t>& bytes);
    ~ModuleSource() override;
    ModuleSource(const ModuleSource&) = delete;
    ModuleSource& operator=(const ModuleSource&) = delete;

    int Channels() const override { return 2; }
    int SampleRate() const override;
    int Read(int16_t* out, int frames) override;
    bool Seek(int64_t frame) override;
    bool SetLooping(bool looping) override;
    // Orders past the end of the song start it from its first order.
    bool SeekOrder(int order) override;

private:
    ModuleSource() = default;

    std::ostringstream log_;  // the player's warnings, kept out of the game's output
    std::unique_ptr<openmpt::module> module_;
};

}  // namespace Zarvo

#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "ResourceCatalog.h"

namespace datagen {

// Synthesises the sound effects and the music loop and writes them as WAV and Ogg Vorbis.
class SoundSynth {
public:
    bool build(ResourceCatalog& cat, const std::string& root);

    static bool writeWav(const std::string& path, const std::vector<float>& samples, int rate,
                         int channels);
    static bool writeOgg(const std::string& path, const std::vector<float>& samples, int rate,
                         int channels, float quality);

private:
    uint32_t seed_ = 12345;
    float noise();  // deterministic white noise in [-1, 1]

    std::vector<float> whistle(int rate);
    std::vector<float> kick(int rate);
    std::vector<float> cheer(int rate);
    std::vector<float> click(int rate);
    std::vector<float> swoosh(int rate);
    std::vector<float> groan(int rate);
    std::vector<float> chime(int rate);
    std::vector<float> zap(int rate);
    std::vector<float> fanfare(int rate);
    std::vector<float> musicLoop(int rate);  // interleaved stereo
    std::vector<float> matchLoop(int rate);  // interleaved stereo, livelier
};

}  // namespace datagen

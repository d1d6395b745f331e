#pragma once
// Sounds made in code for the audio tests: sines as PCM, WAV, AU and Ogg Vorbis bytes, a tiny
// tracker module, and a scratch folder that the test owns.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "audio/SoundData.h"

namespace Zarvo::TestData {

// `frames` frames of a sine of `period` samples with peak `amplitude`, the same on every channel.
SoundData Sine(int rate, int channels, double period, double amplitude, int frames);
double SineValue(double period, double amplitude, double frame);

std::vector<uint8_t> WavBytes(const SoundData& sound);
std::vector<uint8_t> AuBytes16(const SoundData& sound);
std::vector<uint8_t> OggBytes(const SoundData& sound);
// A four-channel Protracker module: one pattern that plays a looping square-wave sample.
std::vector<uint8_t> ModBytes();

void WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> ReadFile(const std::filesystem::path& path);

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::filesystem::path& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// Makes `folder` the working directory for its lifetime.
class WorkingDirectory {
public:
    explicit WorkingDirectory(const std::filesystem::path& folder);
    ~WorkingDirectory();

private:
    std::filesystem::path previous_;
};

}  // namespace Zarvo::TestData

#include "audio/SoundCache.h"

#include <algorithm>
#include <fstream>
#include <limits>
#include <vector>

#include "audio/AudioFile.h"
#include "audio/WavReader.h"

namespace Zarvo {

namespace {
void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}
void PutTag(std::vector<uint8_t>& out, const char* tag) {
    out.insert(out.end(), tag, tag + 4);
}
}  // namespace

std::filesystem::path SoundCache::PathFor(const std::filesystem::path& folder,
                                          const std::string& name) {
    if (folder.empty() || name.empty()) return {};
    // An absolute name ("/x", "\x" or a drive letter) has no place in the cache.
    if (name[0] == '/' || name[0] == '\\' || (name.size() > 1 && name[1] == ':')) return {};
    std::string relative = name;
    std::replace(relative.begin(), relative.end(), '\\', '/');
    std::filesystem::path result = folder;
    for (const auto& part : std::filesystem::path(relative)) {
        if (part == "..") return {};
        if (part.empty() || part == ".") continue;
        result /= part;
    }
    result += ".wav";
    return result;
}

SoundCache::Result SoundCache::Read(const std::filesystem::path& path,
                                    const std::string& sourceName, int64_t sourceTime,
                                    SoundData& out) {
    std::error_code error;
    if (path.empty() || !std::filesystem::is_regular_file(path, error)) return Result::Missing;
    std::vector<uint8_t> bytes;
    if (!AudioFile::ReadAll(path.string(), bytes)) return Result::Unusable;
    SoundData sound;
    WavReader::Dependency dependency;
    if (!WavReader::Read(bytes.data(), bytes.size(), sound, &dependency)) return Result::Unusable;
    if (!dependency.present || dependency.name != sourceName || dependency.time != sourceTime) {
        return Result::Unusable;
    }
    out = std::move(sound);
    return Result::Loaded;
}

bool SoundCache::Write(const std::filesystem::path& path, const SoundData& sound,
                       const std::string& sourceName, int64_t sourceTime) {
    if (path.empty() || sound.channels < 1 || sound.channels > 2) return false;
    const uint64_t dataBytes = static_cast<uint64_t>(sound.samples.size()) * 2;
    if (sourceName.size() > 0xFFFF || dataBytes > std::numeric_limits<uint32_t>::max() - 36) {
        return false;
    }
    const uint32_t blockAlign = static_cast<uint32_t>(sound.channels) * 2;
    std::vector<uint8_t> out;
    out.reserve(static_cast<size_t>(dataBytes) + sourceName.size() + 80);
    PutTag(out, "RIFF");
    Put32(out, static_cast<uint32_t>(dataBytes + 36));
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    Put32(out, 16);
    Put16(out, 1);
    Put16(out, static_cast<uint32_t>(sound.channels));
    Put32(out, static_cast<uint32_t>(sound.sampleRate));
    Put32(out, static_cast<uint32_t>(sound.sampleRate) * blockAlign);
    Put16(out, blockAlign);
    Put16(out, 16);
    PutTag(out, "dep ");
    Put32(out, static_cast<uint32_t>(sourceName.size() + 10));
    Put16(out, static_cast<uint32_t>(sourceName.size()));
    out.insert(out.end(), sourceName.begin(), sourceName.end());
    Put32(out, static_cast<uint32_t>(static_cast<uint64_t>(sourceTime)));
    Put32(out, static_cast<uint32_t>(static_cast<uint64_t>(sourceTime) >> 32));
    PutTag(out, "xor ");
    Put32(out, 1);
    out.push_back(kKey);
    PutTag(out, "data");
    Put32(out, static_cast<uint32_t>(dataBytes));
    for (int16_t sample : sound.samples) {
        const auto v = static_cast<uint16_t>(sample);
        out.push_back(static_cast<uint8_t>(v) ^ kKey);
        out.push_back(static_cast<uint8_t>(v >> 8) ^ kKey);
    }

    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    std::filesystem::path temporary = path;
    temporary += ".tmp";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        if (!file) return false;
        file.write(reinterpret_cast<const char*>(out.data()),
                   static_cast<std::streamsize>(out.size()));
        file.flush();
        if (!file) {
            file.close();
            std::filesystem::remove(temporary, error);
            return false;
        }
    }
    std::filesystem::rename(temporary, path, error);
    if (error) {
        std::filesystem::remove(temporary, error);
        return false;
    }
    return true;
}

}  // namespace Zarvo

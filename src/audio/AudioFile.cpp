#include "audio/AudioFile.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>

namespace Zarvo {

namespace {
std::string LocalName(std::string name) {
    std::replace(name.begin(), name.end(), '\\', '/');
    return name;
}
}  // namespace

bool AudioFile::ReadAll(const std::string& name, std::vector<uint8_t>& out) {
    out.clear();
    std::ifstream in(LocalName(name), std::ios::binary);
    if (!in) return false;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0 || static_cast<uint64_t>(size) > kMaxBytes) return false;
    in.seekg(0, std::ios::beg);
    out.resize(static_cast<size_t>(size));
    if (size > 0 && !in.read(reinterpret_cast<char*>(out.data()), size)) {
        out.clear();
        return false;
    }
    return true;
}

int64_t AudioFile::LastWriteTime(const std::string& name) {
    std::error_code error;
    const auto time = std::filesystem::last_write_time(LocalName(name), error);
    if (error) return 0;
    return std::chrono::duration_cast<std::chrono::nanoseconds>(time.time_since_epoch()).count();
}

}  // namespace Zarvo

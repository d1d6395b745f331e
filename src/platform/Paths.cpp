#include "platform/Paths.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace Zarvo {

namespace {
std::string Home() {
    const char* home = std::getenv("HOME");
    if (home && *home) return home;
    if (const passwd* pw = getpwuid(getuid())) {
        if (pw->pw_dir && *pw->pw_dir) return pw->pw_dir;
    }
    return "/tmp";
}

std::string FromEnv(const char* name, const char* fallbackBelowHome) {
    const char* v = std::getenv(name);
    // Relative values are invalid by the convention and are ignored.
    if (v && v[0] == '/') return v;
    return Home() + "/" + fallbackBelowHome;
}
}  // namespace

std::string Paths::ConfigHome() {
    return FromEnv("XDG_CONFIG_HOME", ".config");
}
std::string Paths::DataHome() {
    return FromEnv("XDG_DATA_HOME", ".local/share");
}
std::string Paths::CacheHome() {
    return FromEnv("XDG_CACHE_HOME", ".cache");
}

std::string Paths::RuntimeDir() {
    const char* v = std::getenv("XDG_RUNTIME_DIR");
    struct stat st = {};
    if (v && v[0] == '/' && stat(v, &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == getuid()) {
        return v;
    }
    const std::string dir = "/tmp/kelvane-" + std::to_string(getuid());
    mkdir(dir.c_str(), 0700);
    // Only a folder of our own that nobody else can write is trusted.
    if (lstat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != getuid() ||
        (st.st_mode & 0077) != 0) {
        return std::string();
    }
    return dir;
}

std::string Paths::ExecutablePath() {
    std::error_code ec;
    const auto p = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : p.string();
}

std::string Paths::SafeJoin(const std::string& base, const std::string& relative, char separator) {
    std::string out = base;
    size_t pos = 0;
    while (pos <= relative.size()) {
        size_t end = relative.find(separator, pos);
        if (end == std::string::npos) end = relative.size();
        const std::string part = relative.substr(pos, end - pos);
        if (!part.empty() && part != "." && part != ".." && part.find('/') == std::string::npos) {
            out += "/" + part;
        }
        pos = end + 1;
    }
    return out;
}

std::string Paths::SettingsFileFor(const std::string& key) {
    const std::string folder = SafeJoin(ConfigHome(), key, '\\');
    if (folder == ConfigHome()) return std::string();
    return folder + "/settings.ini";
}

bool Paths::MakeFolders(const std::string& path, std::string* why) {
    std::error_code made;
    std::filesystem::create_directories(path, made);
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return true;
    if (why) *why = made ? made.message() : "it is not a folder";
    return false;
}

bool Paths::IsInstalledLayout(const std::string& executablePath, const std::string& dataName) {
    namespace fs = std::filesystem;
    if (executablePath.empty() || dataName.empty()) return false;
    const fs::path folder = fs::path(executablePath).parent_path();
    std::error_code ec;
    if (fs::exists(folder / "main.pak", ec) || fs::is_directory(folder / "properties", ec)) {
        return false;
    }
    return fs::is_directory(folder / ".." / "share" / dataName, ec);
}

}  // namespace Zarvo

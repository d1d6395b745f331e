#include "files/LooseFiles.h"

#include <algorithm>
#include <chrono>
#include <system_error>
#include <vector>

namespace Zarvo {

namespace {

bool EqualNoCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// The entry of folder dir whose name equals component without regard to case; when several
// do, the first in byte order, so the choice does not depend on the directory's order.
bool FindNoCase(const std::string& dir, const std::string& component, std::string* found) {
    std::error_code ec;
    std::filesystem::directory_iterator it(dir.empty() ? "." : dir, ec);
    if (ec) return false;
    bool any = false;
    for (const auto& entry : it) {
        std::string name = entry.path().filename().string();
        if (EqualNoCase(name, component) && (!any || name < *found)) {
            *found = name;
            any = true;
        }
    }
    return any;
}

}  // namespace

std::string LooseFiles::Resolve(const std::string& name) {
    std::string path = name;
    std::replace(path.begin(), path.end(), '\\', '/');
    std::error_code ec;
    if (path.empty() || std::filesystem::exists(path, ec)) return path;

    std::string result;
    size_t pos = 0;
    if (path[0] == '/') {
        result.push_back('/');
        pos = 1;
    }
    bool matching = true;
    while (pos <= path.size()) {
        size_t next = path.find('/', pos);
        if (next == std::string::npos) next = path.size();
        std::string component = path.substr(pos, next - pos);
        bool last = next == path.size();
        if (!component.empty()) {
            std::string candidate = result + component;
            if (matching && component != "." && component != ".." &&
                !std::filesystem::exists(candidate, ec)) {
                std::string found;
                if (FindNoCase(result, component, &found)) {
                    candidate = result + found;
                } else {
                    matching = false;
                }
            }
            result = candidate;
        }
        if (!last) result += '/';
        pos = next + 1;
    }
    return result;
}

std::FILE* LooseFiles::Open(const std::string& name, const char* mode) {
    if (!mode) return nullptr;
    return std::fopen(Resolve(name).c_str(), mode);
}

uint64_t LooseFiles::ToFileTime(std::filesystem::file_time_type time) {
    using namespace std::chrono;
    // FILETIME counts from 1601; the Unix epoch lies 11644473600 seconds later.
    constexpr int64_t kEpochDifference = 11644473600LL;
    auto sys = file_clock::to_sys(time);
    int64_t ticks =
        duration_cast<duration<int64_t, std::ratio<1, 10000000>>>(sys.time_since_epoch()).count();
    int64_t fileTime = ticks + kEpochDifference * 10000000LL;
    return fileTime < 0 ? 0 : static_cast<uint64_t>(fileTime);
}

}  // namespace Zarvo

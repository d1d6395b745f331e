#include "files/LooseFileSearch.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "files/LooseFiles.h"

namespace Zarvo {

bool LooseFileSearch::Matches(const std::string& pattern, const std::string& name) {
    // Iterative wildcard match with one backtracking point: linear in practice, never
    // exponential on hostile patterns.
    size_t p = 0, n = 0, starP = std::string::npos, starN = 0;
    auto same = [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) ==
               std::tolower(static_cast<unsigned char>(b));
    };
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || same(pattern[p], name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

std::unique_ptr<LooseFileSearch> LooseFileSearch::Start(const std::string& pattern) {
    std::string path = pattern;
    std::replace(path.begin(), path.end(), '\\', '/');
    size_t slash = path.rfind('/');
    std::string dir = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    std::string namePattern = slash == std::string::npos ? path : path.substr(slash + 1);
    if (namePattern.empty()) return nullptr;

    std::error_code ec;
    std::filesystem::directory_iterator it(LooseFiles::Resolve(dir), ec);
    if (ec) return nullptr;
    auto search = std::make_unique<LooseFileSearch>();
    for (const auto& entry : it) {
        std::string name = entry.path().filename().string();
        if (!Matches(namePattern, name)) continue;
        PakFindData data;
        data.fileName = name;
        std::error_code entryError;
        bool directory = entry.is_directory(entryError);
        data.attributes =
            directory ? PakFindData::kAttributeDirectory : PakFindData::kAttributeNormal;
        if (!directory) {
            uint64_t size = entry.file_size(entryError);
            if (entryError) size = 0;
            data.fileSizeLow = static_cast<uint32_t>(size);
            data.fileSizeHigh = static_cast<uint32_t>(size >> 32);
        }
        auto time = entry.last_write_time(entryError);
        uint64_t fileTime = entryError ? 0 : LooseFiles::ToFileTime(time);
        data.creationTime = data.lastAccessTime = data.lastWriteTime = fileTime;
        search->mMatches.push_back(std::move(data));
    }
    if (search->mMatches.empty()) return nullptr;
    std::sort(search->mMatches.begin(), search->mMatches.end(),
              [](const PakFindData& a, const PakFindData& b) { return a.fileName < b.fileName; });
    return search;
}

bool LooseFileSearch::Next(PakFindData* data) {
    if (mNext >= mMatches.size()) return false;
    if (data) *data = mMatches[mNext];
    ++mNext;
    return true;
}

}  // namespace Zarvo

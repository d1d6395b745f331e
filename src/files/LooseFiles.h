// Real files behind the archive-aware file functions. Requested names may use '\' or '/'; a
// name that does not exist as written is matched one path component at a time without regard
// to case, so "properties\resources.xml" finds properties/resources.xml.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

namespace Zarvo {

class LooseFiles {
public:
    // The path on disk for a requested name: separators turned into '/', each component that
    // does not exist as written replaced by an existing one equal without regard to case.
    // Components that match nothing are kept as written (so a new file can be created).
    static std::string Resolve(const std::string& name);

    // fopen of the resolved name; null on failure.
    static std::FILE* Open(const std::string& name, const char* mode);

    // A file time as a Windows FILETIME (100 ns ticks since 1601-01-01 UTC).
    static uint64_t ToFileTime(std::filesystem::file_time_type time);
};

}  // namespace Zarvo

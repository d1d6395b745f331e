// Fuzz inputs reach the parsers the way game data does: as a file read through the
// archive-aware file functions. This writes the input to one temporary file per process.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

// Removes the temporary file when the process ends.
struct FuzzFileCleanup {
    std::string path;
    ~FuzzFileCleanup() {
        if (!path.empty()) std::remove(path.c_str());
    }
};

inline std::string WriteFuzzInput(const uint8_t* data, size_t size, const char* extension) {
    static FuzzFileCleanup file{
        (std::filesystem::temp_directory_path() /
         ("kelvane-fuzz-" + std::to_string(std::random_device()()) + extension))
            .string()};
    std::FILE* out = std::fopen(file.path.c_str(), "wb");
    if (!out) return std::string();
    if (size > 0) std::fwrite(data, 1, size, out);
    std::fclose(out);
    return file.path;
}

// Fuzz inputs reach the parsers the way game data does: as a file read through the
// archive-aware file functions. This writes the input to one temporary file per process.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

inline std::string WriteFuzzInput(const uint8_t* data, size_t size, const char* extension) {
    static const std::string base = (std::filesystem::temp_directory_path() /
                                     ("kelvane-fuzz-" + std::to_string(std::random_device()())))
                                        .string();
    std::string path = base + extension;
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return std::string();
    if (size > 0) std::fwrite(data, 1, size, out);
    std::fclose(out);
    return path;
}

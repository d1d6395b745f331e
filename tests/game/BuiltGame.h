// Where the built game and its pack file are, for the tests that run the real program, and a
// whole file read as text.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace Kelvane::testing {

inline const std::filesystem::path kGame = std::filesystem::path(KELVANE_BINARY_DIR) / "kelvane";
inline const std::filesystem::path kPak = std::filesystem::path(KELVANE_BINARY_DIR) / "main.pak";

// Lays out a scratch folder for one run of the built game: "data" with a link to the pack file
// (the game's working folder) and "run" for the files the game writes.
inline void makeRunFolders(const std::filesystem::path& root) {
    std::filesystem::create_directories(root / "data");
    std::filesystem::create_directories(root / "run");
    std::filesystem::create_symlink(kPak, root / "data" / "main.pak");
}

inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace Kelvane::testing

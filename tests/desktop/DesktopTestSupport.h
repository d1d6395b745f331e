// Helpers of the desktop tests: finding programs, running them, reading files and taking a
// picture of a folder tree to compare later.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "platform/ChildProcess.h"

namespace DesktopTest {

namespace fs = std::filesystem;

// The full path of a program found on PATH; empty when there is none.
inline std::string FindProgram(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::stringstream folders(path ? path : "/usr/bin:/bin");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        if (folder.empty()) continue;
        const fs::path candidate = fs::path(folder) / name;
        std::error_code ec;
        if (fs::is_regular_file(candidate, ec) &&
            (fs::status(candidate, ec).permissions() & fs::perms::owner_exec) != fs::perms::none) {
            return candidate.string();
        }
    }
    return std::string();
}

inline std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs a program to its end; answers its exit code (-1 when it could not start or took longer
// than the safety net) and appends what it printed to `output`.
inline int RunProgram(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                      const fs::path& output, int timeoutMs = 120000) {
    Zarvo::ChildProcess child;
    if (!child.Start(argv, env, output.string())) return -1;
    return child.Wait(timeoutMs);
}

// Every entry below `root` with its size and modification time: equal pictures mean nothing
// was added, removed or written.
inline std::map<std::string, std::string> TreePicture(const fs::path& root) {
    std::map<std::string, std::string> picture;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(root, ec); !ec && it != fs::end(it);
         it.increment(ec)) {
        const fs::path rel = fs::relative(it->path(), root, ec);
        std::string what = it->is_directory(ec) ? "dir" : std::to_string(it->file_size(ec));
        what += " " + std::to_string(it->last_write_time(ec).time_since_epoch().count());
        picture[rel.string()] = what;
    }
    return picture;
}

}  // namespace DesktopTest

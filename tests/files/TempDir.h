// A fresh folder for one test, removed afterwards; optionally the working directory while the
// test runs.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

class TempDir {
public:
    TempDir() {
        std::random_device rd;
        mPath = std::filesystem::temp_directory_path() /
                ("kelvane-files-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(mPath);
        mOldCwd = std::filesystem::current_path();
    }
    ~TempDir() {
        std::filesystem::current_path(mOldCwd);
        std::error_code ec;
        std::filesystem::remove_all(mPath, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    void Enter() { std::filesystem::current_path(mPath); }
    const std::filesystem::path& Path() const { return mPath; }
    std::string operator/(const std::string& name) const { return (mPath / name).string(); }

    void Write(const std::string& name, const std::vector<uint8_t>& bytes) const {
        auto path = mPath / name;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    void Write(const std::string& name, const std::string& text) const {
        Write(name, std::vector<uint8_t>(text.begin(), text.end()));
    }

private:
    std::filesystem::path mPath;
    std::filesystem::path mOldCwd;
};

inline std::vector<uint8_t> Bytes(const std::string& s) {
    return {s.begin(), s.end()};
}

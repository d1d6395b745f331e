// pak: builds a pack file from a folder, lists one, or extracts one into a folder.
//
//   pak build <folder> <archive>     every file under folder, named by its path with '\'
//   pak list <archive>               size, FILETIME and name of each entry, in table order
//   pak extract <archive> <folder>   writes each entry under folder ('\' becomes '/')
//
// Exit code 0 on success, 1 on any failure (with a message on standard error).
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "files/PakBuilder.h"
#include "files/PakInterface.h"

namespace {

struct Entry {
    std::string name;
    uint64_t fileTime = 0;
    uint64_t start = 0;
    uint64_t size = 0;
};

// Reads a whole regular file; false with a message on standard error otherwise.
bool ReadFile(const std::string& path, std::vector<uint8_t>* bytes) {
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec) {
        std::fprintf(stderr, "pak: cannot read %s: %s\n", path.c_str(), ec.message().c_str());
        return false;
    }
    if (std::filesystem::is_directory(status)) {
        std::fprintf(stderr, "pak: %s is a folder, not a pack file\n", path.c_str());
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (in) bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (!in || (!in.good() && !in.eof())) {
        std::fprintf(stderr, "pak: cannot read %s\n", path.c_str());
        return false;
    }
    return true;
}

// Decodes the archive and reads its table; false when it is no valid pack file.
bool DecodeArchive(std::vector<uint8_t>* bytes, std::vector<Entry>* entries) {
    for (uint8_t& b : *bytes) b ^= Zarvo::PakInterface::kKey;
    const std::vector<uint8_t>& d = *bytes;
    size_t pos = 0;
    auto u32 = [&](uint32_t* v) {
        if (d.size() - pos < 4) return false;
        *v = uint32_t(d[pos]) | uint32_t(d[pos + 1]) << 8 | uint32_t(d[pos + 2]) << 16 |
             uint32_t(d[pos + 3]) << 24;
        pos += 4;
        return true;
    };
    uint32_t magic = 0, version = 0;
    if (!u32(&magic) || magic != Zarvo::PakInterface::kMagic) return false;
    if (!u32(&version) || version != Zarvo::PakInterface::kVersion) return false;
    uint64_t total = 0;
    for (;;) {
        if (pos >= d.size()) return false;
        uint8_t flags = d[pos++];
        if (flags & 0x80) break;
        if (pos >= d.size()) return false;
        size_t length = d[pos++];
        if (d.size() - pos < length) return false;
        Entry e;
        e.name.assign(reinterpret_cast<const char*>(&d[pos]), length);
        pos += length;
        uint32_t size = 0, low = 0, high = 0;
        if (!u32(&size) || !u32(&low) || !u32(&high)) return false;
        if (size > 0x7FFFFFFF) return false;
        e.fileTime = uint64_t(high) << 32 | low;
        e.start = total;
        e.size = size;
        total += size;
        entries->push_back(std::move(e));
    }
    if (pos + total > d.size()) return false;
    for (Entry& e : *entries) e.start += pos;
    return true;
}

int Build(const std::string& folder, const std::string& archive) {
    Zarvo::PakBuilder builder;
    if (!builder.AddFolder(folder)) {
        std::fprintf(stderr, "pak: %s\n", builder.LastError().c_str());
        return 1;
    }
    std::vector<uint8_t> bytes = builder.Build();
    std::string temporary = archive + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        if (!out) {
            std::fprintf(stderr, "pak: cannot write %s\n", temporary.c_str());
            return 1;
        }
    }
    std::error_code ec;
    std::filesystem::rename(temporary, archive, ec);
    if (ec) {
        std::fprintf(stderr, "pak: cannot write %s\n", archive.c_str());
        return 1;
    }
    return 0;
}

int List(const std::string& archive) {
    std::vector<uint8_t> bytes;
    std::vector<Entry> entries;
    if (!ReadFile(archive, &bytes)) return 1;
    if (!DecodeArchive(&bytes, &entries)) {
        std::fprintf(stderr, "pak: %s is not a valid pack file\n", archive.c_str());
        return 1;
    }
    for (const Entry& e : entries) {
        std::printf("%10" PRIu64 "  %20" PRIu64 "  %s\n", e.size, e.fileTime, e.name.c_str());
    }
    return 0;
}

int Extract(const std::string& archive, const std::string& folder) {
    std::vector<uint8_t> bytes;
    std::vector<Entry> entries;
    if (!ReadFile(archive, &bytes)) return 1;
    if (!DecodeArchive(&bytes, &entries)) {
        std::fprintf(stderr, "pak: %s is not a valid pack file\n", archive.c_str());
        return 1;
    }
    namespace fs = std::filesystem;
    for (const Entry& e : entries) {
        std::string relative = e.name;
        for (char& c : relative) {
            if (c == '\\') c = '/';
        }
        fs::path target = fs::path(folder) / fs::path(relative).relative_path();
        // Entries never leave the target folder.
        fs::path normal = target.lexically_normal();
        fs::path root = fs::path(folder).lexically_normal();
        auto [rootEnd, unused] =
            std::mismatch(root.begin(), root.end(), normal.begin(), normal.end());
        if (rootEnd != root.end() || relative.empty()) {
            std::fprintf(stderr, "pak: skipping unsafe name %s\n", e.name.c_str());
            continue;
        }
        std::error_code ec;
        fs::create_directories(target.parent_path(), ec);
        std::ofstream out(target, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data() + e.start), std::streamsize(e.size));
        if (!out) {
            std::fprintf(stderr, "pak: cannot write %s\n", target.string().c_str());
            return 1;
        }
    }
    return 0;
}

int Usage() {
    std::fprintf(stderr,
                 "usage: pak build <folder> <archive>\n"
                 "       pak list <archive>\n"
                 "       pak extract <archive> <folder>\n");
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    std::string command = argv[1];
    // Whatever the file system throws ends the tool with a message, never with an abort.
    try {
        if (command == "build" && argc == 4) return Build(argv[2], argv[3]);
        if (command == "list" && argc == 3) return List(argv[2]);
        if (command == "extract" && argc == 4) return Extract(argv[2], argv[3]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "pak: %s\n", e.what());
        return 1;
    }
    return Usage();
}

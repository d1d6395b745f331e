#include "files/PakBuilder.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <system_error>

#include "files/LooseFiles.h"
#include "files/PakInterface.h"

namespace Zarvo {

bool PakBuilder::AddFile(const std::string& name, std::vector<uint8_t> contents,
                         uint64_t fileTime) {
    if (name.size() > 255 ||
        contents.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max())) {
        return false;
    }
    mEntries.push_back({name, std::move(contents), fileTime});
    return true;
}

bool PakBuilder::AddFolder(const std::string& folder) {
    namespace fs = std::filesystem;
    mError.clear();
    auto fail = [this](std::string text) {
        mError = std::move(text);
        return false;
    };
    std::error_code ec;
    fs::recursive_directory_iterator it(folder, ec), end;
    if (ec) return fail("cannot read the folder " + folder + ": " + ec.message());
    std::vector<std::pair<std::string, fs::path>> files;
    for (; it != end; it.increment(ec)) {
        if (ec) return fail("cannot read the folder " + folder + ": " + ec.message());
        if (!it->is_regular_file(ec)) continue;
        std::string name = fs::relative(it->path(), folder, ec).generic_string();
        if (ec) return fail("cannot read " + it->path().string() + ": " + ec.message());
        std::replace(name.begin(), name.end(), '/', '\\');
        files.emplace_back(name, it->path());
    }
    if (ec) return fail("cannot read the folder " + folder + ": " + ec.message());
    std::sort(files.begin(), files.end());

    std::vector<Entry> added;
    for (const auto& [name, path] : files) {
        // Checked before reading: a pack file stores a name in at most 255 bytes.
        if (name.size() > 255) {
            return fail("the name " + name + " is " + std::to_string(name.size()) +
                        " bytes long; a pack file holds names of at most 255");
        }
        std::ifstream in(path, std::ios::binary);
        if (!in) return fail("cannot read " + path.string());
        std::vector<uint8_t> contents((std::istreambuf_iterator<char>(in)),
                                      std::istreambuf_iterator<char>());
        if (!in.good() && !in.eof()) return fail("cannot read " + path.string());
        auto time = fs::last_write_time(path, ec);
        if (ec) return fail("cannot read " + path.string() + ": " + ec.message());
        if (contents.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max())) {
            return fail(path.string() + " is too large for a pack file (2 GB at most)");
        }
        added.push_back({name, std::move(contents), LooseFiles::ToFileTime(time)});
    }
    for (Entry& e : added) mEntries.push_back(std::move(e));
    return true;
}

std::vector<uint8_t> PakBuilder::Build() const {
    std::vector<uint8_t> out;
    auto put32 = [&out](uint32_t v) {
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    put32(PakInterface::kMagic);
    put32(PakInterface::kVersion);
    for (const Entry& e : mEntries) {
        out.push_back(0);
        out.push_back(static_cast<uint8_t>(e.name.size()));
        out.insert(out.end(), e.name.begin(), e.name.end());
        put32(static_cast<uint32_t>(e.contents.size()));
        put32(static_cast<uint32_t>(e.fileTime));
        put32(static_cast<uint32_t>(e.fileTime >> 32));
    }
    out.push_back(0x80);
    for (const Entry& e : mEntries) out.insert(out.end(), e.contents.begin(), e.contents.end());
    for (uint8_t& b : out) b ^= PakInterface::kKey;
    return out;
}

}  // namespace Zarvo

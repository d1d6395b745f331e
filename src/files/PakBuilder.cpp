#include "files/PakBuilder.h"

#include <limits>

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

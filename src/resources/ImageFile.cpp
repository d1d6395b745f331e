#include "resources/ImageFile.h"

#include <cstdio>

#include "files/FileFunctions.h"

namespace Zarvo {

bool ImageFile::ReadAll(const std::string& name, std::vector<uint8_t>* bytes) {
    bytes->clear();
    PakFile* file = FOpen(name.c_str(), "rb");
    if (!file) return false;
    uint8_t chunk[65536];
    size_t n;
    while ((n = FRead(chunk, 1, sizeof chunk, file)) > 0) {
        if (bytes->size() + n > kMaxBytes) {
            FClose(file);
            bytes->clear();
            bytes->shrink_to_fit();
            return false;
        }
        bytes->insert(bytes->end(), chunk, chunk + n);
    }
    FClose(file);
    return true;
}

}  // namespace Zarvo

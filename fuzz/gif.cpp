// Fuzzes the GIF reader: the input is read as a file through the archive-aware file functions.
#include <cstdint>

#include "FuzzFile.h"
#include "resources/GifReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string path = WriteFuzzInput(data, size, ".gif");
    if (path.empty()) return 0;
    Zarvo::GifReader::Read(path);
    return 0;
}

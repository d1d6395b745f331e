// Fuzzes the PNG reader: the input is read as a file through the archive-aware file functions.
#include <cstdint>

#include "FuzzFile.h"
#include "resources/PngReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string path = WriteFuzzInput(data, size, ".png");
    if (path.empty()) return 0;
    Zarvo::PngReader::Read(path);
    return 0;
}

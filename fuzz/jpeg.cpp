// Fuzzes the JPEG reader: the input is read as a file through the archive-aware file functions.
#include <cstdint>

#include "FuzzFile.h"
#include "resources/JpegReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string path = WriteFuzzInput(data, size, ".jpg");
    if (path.empty()) return 0;
    Zarvo::JpegReader::Read(path);
    return 0;
}

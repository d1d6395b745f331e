// Fuzzes the XML reader: every element of the input is read, with comments returned.
#include <cstdint>

#include "FuzzFile.h"
#include "resources/XMLParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string path = WriteFuzzInput(data, size, ".xml");
    if (path.empty()) return 0;
    Zarvo::XMLParser parser;
    parser.AllowComments(size % 2 == 0);
    if (!parser.OpenFile(path)) return 0;
    Zarvo::XMLElement element;
    while (parser.NextElement(&element)) {
    }
    return 0;
}

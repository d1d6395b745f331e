// Fuzzes the pack file reader: the input is mapped as an archive and every entry it yields is
// read through each archive-aware file function.
#include <cstdint>
#include <cstdio>
#include <string>

#include "FuzzFile.h"

#include "files/FileFunctions.h"
#include "files/PakInterface.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string path = WriteFuzzInput(data, size, ".pak");
    if (path.empty()) return 0;
    Zarvo::PakInterface pak;
    pak.AddPakFile(path);
    Zarvo::PakFindData found;
    Zarvo::PakSearch* search = pak.FindFirstFile("*", &found);
    int visited = 0;
    while (search && !search->looseStarted && visited++ < 64) {
        // Entries are opened by the name the search reports (folder names are dropped there,
        // so only top-level entries open).
        if (Zarvo::PakFile* f = pak.FOpen(found.fileName.c_str(), "rb")) {
            char buffer[64];
            while (pak.FGetS(buffer, sizeof buffer, f)) {
            }
            pak.FSeek(f, -3, SEEK_END);
            while (pak.FGetC(f) >= 0) pak.UnGetC(0, f), pak.FGetC(f);
            pak.FSeek(f, 1, SEEK_SET);
            while (pak.FRead(buffer, 3, 5, f) > 0) {
            }
            pak.FClose(f);
        }
        if (!pak.FindNextFile(search, &found)) break;
    }
    pak.FindClose(search);
    return 0;
}

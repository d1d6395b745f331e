// The archive-aware file functions through which every data file is read. Each forwards to the
// process's PakInterface when one exists, else works on the real files directly (with the same
// loose-file name matching).
#pragma once

#include <cstddef>

#include "files/PakFile.h"
#include "files/PakFindData.h"
#include "files/PakSearch.h"

namespace Zarvo {

PakFile* FOpen(const char* name, const char* mode);
int FClose(PakFile* file);
int FSeek(PakFile* file, long offset, int origin);
long FTell(PakFile* file);
size_t FRead(void* buffer, size_t elementSize, size_t count, PakFile* file);
int FGetC(PakFile* file);
int UnGetC(int character, PakFile* file);
char* FGetS(char* buffer, int size, PakFile* file);
int FEof(PakFile* file);
PakSearch* FindFirstFile(const char* pattern, PakFindData* data);
bool FindNextFile(PakSearch* search, PakFindData* data);
bool FindClose(PakSearch* search);

}  // namespace Zarvo

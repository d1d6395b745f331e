#include "files/FileFunctions.h"

#include <cstdio>

#include "files/LooseFiles.h"
#include "files/PakInterface.h"

namespace Zarvo {

PakFile* FOpen(const char* name, const char* mode) {
    if (PakInterface* pak = PakInterface::Instance()) return pak->FOpen(name, mode);
    if (!name) return nullptr;
    std::FILE* fp = LooseFiles::Open(name, mode);
    if (!fp) return nullptr;
    auto* file = new PakFile;
    file->file = fp;
    return file;
}

int FClose(PakFile* file) {
    if (PakInterface* pak = PakInterface::Instance()) return pak->FClose(file);
    if (!file) return 0;
    if (file->file) std::fclose(file->file);
    delete file;
    return 0;
}

int FSeek(PakFile* file, long offset, int origin) {
    if (PakInterface* pak = PakInterface::Instance()) return pak->FSeek(file, offset, origin);
    return file && file->file ? std::fseek(file->file, offset, origin) : -1;
}

long FTell(PakFile* file) {
    if (PakInterface* pak = PakInterface::Instance()) return pak->FTell(file);
    return file && file->file ? std::ftell(file->file) : -1;
}

size_t FRead(void* buffer, size_t elementSize, size_t count, PakFile* file) {
    if (PakInterface* pak = PakInterface::Instance())
        return pak->FRead(buffer, elementSize, count, file);
    return file && file->file && buffer ? std::fread(buffer, elementSize, count, file->file) : 0;
}

int FGetC(PakFile* file) {
    if (PakInterface* pak = PakInterface::Instance()) return pak->FGetC(file);
    return file && file->file ? std::fgetc(file->file) : -1;
}

int UnGetC(int character, PakFile* file) {
    if (PakInterface* pak = PakInterface::Instance()) return pak->UnGetC(character, file);
    return file && file->file ? std::ungetc(character, file->file) : -1;
}

char* FGetS(char* buffer, int size, PakFile* file) {
    if (PakInterface* pak = PakInterface::Instance()) return pak->FGetS(buffer, size, file);
    return file && file->file && buffer && size > 0 ? std::fgets(buffer, size, file->file)
                                                    : nullptr;
}

int FEof(PakFile* file) {
    if (PakInterface* pak = PakInterface::Instance()) return pak->FEof(file);
    return file && file->file ? std::feof(file->file) : 1;
}

PakSearch* FindFirstFile(const char* pattern, PakFindData* data) {
    if (PakInterface* pak = PakInterface::Instance()) return pak->FindFirstFile(pattern, data);
    if (!pattern) return nullptr;
    auto search = std::make_unique<PakSearch>();
    search->rawPattern = pattern;
    search->looseStarted = true;
    search->looseSearch = LooseFileSearch::Start(pattern);
    if (!search->looseSearch || !search->looseSearch->Next(data)) return nullptr;
    return search.release();
}

bool FindNextFile(PakSearch* search, PakFindData* data) {
    if (PakInterface* pak = PakInterface::Instance()) return pak->FindNextFile(search, data);
    return search && search->looseSearch && search->looseSearch->Next(data);
}

bool FindClose(PakSearch* search) {
    if (PakInterface* pak = PakInterface::Instance()) return pak->FindClose(search);
    delete search;
    return true;
}

}  // namespace Zarvo

// The pack file archive: archives ("main.pak") are mapped into memory once, and a file API
// shaped like standard I/O serves each requested name from the archives when they hold it and
// from the real file system otherwise. Handles stay valid while the interface lives.
//
// Archive layout (every byte stored XOR 0x9D, integers little-endian): magic 0xBAC04AC0,
// version 0, a table of entries (flags, name length, name, signed 32-bit size, FILETIME) ended
// by a flags byte with bit 7 set, then the files' contents in table order without padding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "files/PakCollection.h"
#include "files/PakFile.h"
#include "files/PakFindData.h"
#include "files/PakRecord.h"
#include "files/PakSearch.h"

namespace Zarvo {

class PakInterface {
public:
    static constexpr uint8_t kKey = 0x9D;
    static constexpr uint32_t kMagic = 0xBAC04AC0;
    static constexpr uint32_t kVersion = 0;
    // Bounds on what an archive's table may claim; an archive beyond them is refused whole.
    // The game's data holds a few hundred files, none larger than a few megabytes.
    static constexpr size_t kMaxEntries = size_t{1} << 16;
    static constexpr int64_t kMaxEntryBytes = int64_t{256} << 20;
    // A name's length is stored in one byte.
    static constexpr size_t kMaxNameLength = 255;

    // The first interface constructed in the process becomes the one the global file
    // functions forward to.
    PakInterface();
    virtual ~PakInterface();
    PakInterface(const PakInterface&) = delete;
    PakInterface& operator=(const PakInterface&) = delete;

    // The process's single interface, or null when none exists.
    static PakInterface* Instance();

    // A wide-character open that nothing uses; always null.
    virtual PakFile* FOpen(const wchar_t* name, const wchar_t* mode);
    // Modes "r", "rb", "rt" (any case) look the normalised name up in the archives first;
    // every other mode, and a name no archive holds, opens the real file. Null on failure.
    virtual PakFile* FOpen(const char* name, const char* mode);
    virtual int FClose(PakFile* file);
    // Archive entries: the new position is clamped into 0..size. Returns 0.
    virtual int FSeek(PakFile* file, long offset, int origin);
    virtual long FTell(PakFile* file);
    // Archive entries copy what is left of the entry and return the whole elements copied.
    virtual size_t FRead(void* buffer, size_t elementSize, size_t count, PakFile* file);
    // Archive entries skip carriage returns; -1 at the end.
    virtual int FGetC(PakFile* file);
    // Archive entries step back one byte (not below 0); the character is not stored.
    virtual int UnGetC(int character, PakFile* file);
    // A wide-character line read that nothing uses; returns buffer untouched.
    virtual wchar_t* FGetS(wchar_t* buffer, int size, PakFile* file);
    // Archive entries skip carriage returns and stop after a line feed; null at the end.
    virtual char* FGetS(char* buffer, int size, PakFile* file);
    virtual int FEof(PakFile* file);
    // Archive matches in key order first, then the loose files. Null when nothing matches.
    virtual PakSearch* FindFirstFile(const char* pattern, PakFindData* data);
    virtual bool FindNextFile(PakSearch* search, PakFindData* data);
    virtual bool FindClose(PakSearch* search);

    // Maps an archive and enters its files; false (and no entries added) when it is missing,
    // unmappable, has a wrong magic or version, a table that is cut short or points past the
    // end of the file, more than kMaxEntries entries or one larger than kMaxEntryBytes. Later
    // archives overwrite entries with equal names.
    bool AddPakFile(const std::string& fileName);
    // Why the last AddPakFile refused an archive that exists (say, "its table of entries is cut
    // short"); empty after a success or when there was no such file.
    const std::string& PakFileError() const { return mPakFileError; }

    // The key a name is looked up under: separators turned into one '\', ".." components
    // applied, upper case; a leading current-directory prefix is removed.
    static std::string NormalizeName(const std::string& name);

private:
    bool FindInArchive(PakSearch* search, bool first, PakFindData* data) const;

    std::vector<std::unique_ptr<PakCollection>> mCollections;
    std::map<std::string, PakRecord> mRecords;
    std::string mPakFileError;
};

}  // namespace Zarvo

#include "files/PakInterface.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <limits>
#include <system_error>

#include "files/LooseFiles.h"

namespace Zarvo {

namespace {

std::atomic<PakInterface*> gPakInterface{nullptr};

bool IsArchiveMode(const char* mode) {
    if (!mode) return false;
    std::string m(mode);
    for (char& c : m) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return m == "r" || m == "rb" || m == "rt";
}

std::string UpperCase(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

const uint8_t* EntryBytes(const PakFile* file) {
    return file->record->collection->Data() + file->record->start;
}

// Reads little-endian values from a decoded archive entry; any short read marks failure.
class TableReader {
public:
    TableReader(PakInterface* pak, PakFile* file) : mPak(pak), mFile(file) {}

    bool Bytes(void* out, size_t size) {
        if (size == 0) return true;
        mOk = mOk && mPak->FRead(out, size, 1, mFile) == 1;
        return mOk;
    }
    uint8_t U8() {
        uint8_t b = 0;
        Bytes(&b, 1);
        return b;
    }
    uint32_t U32() {
        uint8_t b[4] = {};
        Bytes(b, 4);
        return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
    }
    uint64_t U64() {
        uint64_t low = U32();
        uint64_t high = U32();
        return low | high << 32;
    }
    bool Ok() const { return mOk; }

private:
    PakInterface* mPak;
    PakFile* mFile;
    bool mOk = true;
};

}  // namespace

PakInterface::PakInterface() {
    PakInterface* expected = nullptr;
    gPakInterface.compare_exchange_strong(expected, this);
}

PakInterface::~PakInterface() {
    PakInterface* expected = this;
    gPakInterface.compare_exchange_strong(expected, nullptr);
}

PakInterface* PakInterface::Instance() {
    return gPakInterface.load();
}

std::string PakInterface::NormalizeName(const std::string& name) {
    std::string input = name;
    // A name that starts with the current directory is made relative to it.
    if (!input.empty() &&
        (input[0] == '/' || input[0] == '\\' || (input.size() > 1 && input[1] == ':'))) {
        std::error_code ec;
        std::string cwd = std::filesystem::current_path(ec).string();
        if (!ec && !cwd.empty() && input.size() > cwd.size() + 1) {
            std::string head = UpperCase(input.substr(0, cwd.size()));
            std::replace(head.begin(), head.end(), '\\', '/');
            char sep = input[cwd.size()];
            if (head == UpperCase(cwd) && (sep == '/' || sep == '\\')) {
                input = input.substr(cwd.size() + 1);
            }
        }
    }

    std::string out;
    out.reserve(input.size());
    size_t i = 0;
    while (i < input.size()) {
        char c = input[i];
        if (c == '/' || c == '\\') {
            if (out.empty() || out.back() != '\\') out += '\\';
            ++i;
            continue;
        }
        bool afterSeparator = !out.empty() && out.back() == '\\';
        bool dotDot = c == '.' && i + 1 < input.size() && input[i + 1] == '.' &&
                      (i + 2 == input.size() || input[i + 2] == '/' || input[i + 2] == '\\');
        if (afterSeparator && dotDot) {
            // Back to just after the separator before the previous component.
            out.pop_back();
            size_t prev = out.rfind('\\');
            out.resize(prev == std::string::npos ? 0 : prev + 1);
            i += 2;
            while (i < input.size() && (input[i] == '/' || input[i] == '\\')) ++i;
            continue;
        }
        out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        ++i;
    }
    return out;
}

PakFile* PakInterface::FOpen(const wchar_t*, const wchar_t*) {
    return nullptr;
}

PakFile* PakInterface::FOpen(const char* name, const char* mode) {
    if (!name) return nullptr;
    if (IsArchiveMode(mode)) {
        auto it = mRecords.find(NormalizeName(name));
        if (it != mRecords.end()) {
            auto* file = new PakFile;
            file->record = &it->second;
            return file;
        }
    }
    std::FILE* fp = LooseFiles::Open(name, mode);
    if (!fp) return nullptr;
    auto* file = new PakFile;
    file->file = fp;
    return file;
}

int PakInterface::FClose(PakFile* file) {
    if (!file) return 0;
    if (file->file) std::fclose(file->file);
    delete file;
    return 0;
}

int PakInterface::FSeek(PakFile* file, long offset, int origin) {
    if (!file) return -1;
    if (!file->record) return std::fseek(file->file, offset, origin);
    int64_t size = file->record->size;
    int64_t target = offset;
    if (origin == SEEK_CUR) {
        target = file->position + static_cast<int64_t>(offset);
    } else if (origin == SEEK_END) {
        target = size + static_cast<int64_t>(offset);
    }
    file->position = (target <= 0 || size <= 0) ? 0 : static_cast<int>(std::min(target, size));
    return 0;
}

long PakInterface::FTell(PakFile* file) {
    if (!file) return -1;
    if (!file->record) return std::ftell(file->file);
    return file->position;
}

size_t PakInterface::FRead(void* buffer, size_t elementSize, size_t count, PakFile* file) {
    if (!file || !buffer || elementSize == 0) return 0;
    if (!file->record) return std::fread(buffer, elementSize, count, file->file);
    size_t left = static_cast<size_t>(std::max(0, file->record->size - file->position));
    size_t wanted = count > left / elementSize + 1 ? left : std::min(left, elementSize * count);
    const uint8_t* src = EntryBytes(file) + file->position;
    auto* dst = static_cast<uint8_t*>(buffer);
    for (size_t i = 0; i < wanted; ++i) dst[i] = src[i] ^ kKey;
    file->position += static_cast<int>(wanted);
    return wanted / elementSize;
}

int PakInterface::FGetC(PakFile* file) {
    if (!file) return -1;
    if (!file->record) return std::fgetc(file->file);
    const uint8_t* data = EntryBytes(file);
    while (file->position < file->record->size) {
        uint8_t c = data[file->position++] ^ kKey;
        if (c != '\r') return c;
    }
    return -1;
}

int PakInterface::UnGetC(int character, PakFile* file) {
    if (!file) return -1;
    if (!file->record) return std::ungetc(character, file->file);
    if (file->position > 0) --file->position;
    return character;
}

wchar_t* PakInterface::FGetS(wchar_t* buffer, int, PakFile*) {
    return buffer;
}

char* PakInterface::FGetS(char* buffer, int size, PakFile* file) {
    if (!file || !buffer || size <= 0) return nullptr;
    if (!file->record) return std::fgets(buffer, size, file->file);
    const uint8_t* data = EntryBytes(file);
    int stored = 0;
    while (stored < size - 1 && file->position < file->record->size) {
        uint8_t c = data[file->position++] ^ kKey;
        if (c == '\r') continue;
        buffer[stored++] = static_cast<char>(c);
        if (c == '\n') break;
    }
    buffer[stored] = 0;
    // Reaching the end with nothing stored is the end, also when skipped carriage returns were
    // all that was left.
    if (stored == 0 && file->position >= file->record->size) return nullptr;
    return buffer;
}

int PakInterface::FEof(PakFile* file) {
    if (!file) return 1;
    if (!file->record) return std::feof(file->file);
    return file->position >= file->record->size ? 1 : 0;
}

bool PakInterface::FindInArchive(PakSearch* search, bool first, PakFindData* data) const {
    const std::string& pattern = search->pattern;
    size_t star = pattern.find('*');
    if (star == std::string::npos) return false;
    std::string prefix = pattern.substr(0, star);
    std::string rest = pattern.substr(star + 1);
    auto it = first ? mRecords.begin() : mRecords.upper_bound(search->lastKey);
    for (; it != mRecords.end(); ++it) {
        const std::string& key = it->first;
        if (key.compare(0, prefix.size(), prefix) != 0 || key.size() < prefix.size()) continue;
        size_t matched = key.size() - prefix.size();
        if (!rest.empty() && rest != ".*") {
            if (matched < rest.size() ||
                key.compare(key.size() - rest.size(), rest.size(), rest) != 0) {
                continue;
            }
            matched -= rest.size();
        }
        const PakRecord& record = it->second;
        search->lastKey = key;
        if (data) {
            *data = PakFindData();
            bool directory = key.find('\\', prefix.size()) < prefix.size() + matched;
            data->attributes = directory ? PakFindData::kAttributeDirectory : 0;
            data->fileSizeLow = static_cast<uint32_t>(record.size);
            data->creationTime = data->lastAccessTime = data->lastWriteTime = record.fileTime;
            size_t slash = record.name.rfind('\\');
            data->fileName =
                slash == std::string::npos ? record.name : record.name.substr(slash + 1);
        }
        return true;
    }
    return false;
}

PakSearch* PakInterface::FindFirstFile(const char* pattern, PakFindData* data) {
    if (!pattern) return nullptr;
    auto search = std::make_unique<PakSearch>();
    search->rawPattern = pattern;
    search->pattern = NormalizeName(pattern);
    if (FindInArchive(search.get(), true, data)) return search.release();
    search->looseStarted = true;
    search->looseSearch = LooseFileSearch::Start(search->rawPattern);
    if (!search->looseSearch || !search->looseSearch->Next(data)) return nullptr;
    return search.release();
}

bool PakInterface::FindNextFile(PakSearch* search, PakFindData* data) {
    if (!search) return false;
    if (!search->looseStarted) {
        if (FindInArchive(search, false, data)) return true;
        search->looseStarted = true;
        search->looseSearch = LooseFileSearch::Start(search->rawPattern);
    }
    return search->looseSearch && search->looseSearch->Next(data);
}

bool PakInterface::FindClose(PakSearch* search) {
    delete search;
    return true;
}

bool PakInterface::AddPakFile(const std::string& fileName) {
    mPakFileError.clear();
    auto refuse = [this](const char* why) {
        mPakFileError = why;
        return false;
    };
    const std::string path = LooseFiles::Resolve(fileName);
    auto mapping = MappedFile::Open(path);
    if (!mapping) {
        // No archive at all is an ordinary install from loose files; one that is there but
        // cannot be read is worth saying.
        std::error_code ec;
        if (!std::filesystem::exists(path, ec)) return false;
        if (std::filesystem::is_directory(path, ec)) return refuse("it is a folder");
        return refuse("it cannot be opened and mapped");
    }
    const size_t archiveSize = mapping->Size();
    mCollections.push_back(std::make_unique<PakCollection>(fileName, std::move(mapping)));
    const PakCollection* collection = mCollections.back().get();
    if (archiveSize > static_cast<size_t>(std::numeric_limits<int32_t>::max())) {
        return refuse("it is larger than 2 GB");
    }

    // The archive itself is readable through the same functions (the key applied).
    PakRecord self;
    self.collection = collection;
    self.name = fileName;
    self.start = 0;
    self.size = static_cast<int32_t>(archiveSize);
    PakRecord& selfRecord = mRecords[NormalizeName(fileName)] = self;

    PakFile file;
    file.record = &selfRecord;
    TableReader in(this, &file);
    const uint32_t magic = in.U32();
    if (!in.Ok()) return refuse("it is too short to be a pack file");
    if (magic != kMagic) return refuse("it is not a pack file (its first bytes are wrong)");
    if (in.U32() != kVersion || !in.Ok()) return refuse("its version is not 0");

    // Build the whole table first: a table cut short, a negative size or data reaching past
    // the end of the file rejects the archive without touching the entries already known.
    std::vector<PakRecord> entries;
    int64_t total = 0;
    for (;;) {
        uint8_t flags = in.U8();
        if (!in.Ok()) return refuse("its table of entries is cut short (damaged or truncated)");
        if (flags & 0x80) break;
        // Each entry costs a record in memory; a table claiming more than any game ships is
        // damaged or hostile, and refusing it early keeps a small file from asking for much.
        if (entries.size() >= kMaxEntries) return refuse("it has more than 65536 entries");
        uint8_t length = in.U8();
        char name[kMaxNameLength + 1];
        in.Bytes(name, length);
        int32_t size = static_cast<int32_t>(in.U32());
        uint64_t time = in.U64();
        if (!in.Ok()) return refuse("its table of entries is cut short (damaged or truncated)");
        if (size < 0) return refuse("an entry has a negative size (damaged)");
        PakRecord record;
        record.collection = collection;
        record.name.assign(name, length);
        record.fileTime = time;
        record.start = total;
        record.size = size;
        total += size;
        entries.push_back(std::move(record));
    }
    const int64_t dataStart = file.position;
    if (dataStart + total > static_cast<int64_t>(archiveSize)) {
        return refuse("its entries reach past the end of the file (truncated)");
    }
    for (const PakRecord& record : entries) {
        if (record.size > kMaxEntryBytes) return refuse("an entry is larger than 256 MB");
    }

    for (PakRecord& record : entries) {
        record.start += dataStart;
        std::string key = UpperCase(record.name);
        mRecords[key] = std::move(record);
    }
    return true;
}

}  // namespace Zarvo

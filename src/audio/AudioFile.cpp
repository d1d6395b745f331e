#include "audio/AudioFile.h"

#include <filesystem>
#include <memory>

#include "files/FileFunctions.h"
#include "files/LooseFiles.h"
#include "files/PakRecord.h"

namespace Zarvo {

namespace {
struct Closer {
    void operator()(PakFile* file) const { FClose(file); }
};
using FileHandle = std::unique_ptr<PakFile, Closer>;
}  // namespace

bool AudioFile::ReadAll(const std::string& name, std::vector<uint8_t>& out) {
    out.clear();
    FileHandle file(FOpen(name.c_str(), "rb"));
    if (!file) return false;
    if (FSeek(file.get(), 0, SEEK_END) != 0) return false;
    const long size = FTell(file.get());
    if (size < 0 || static_cast<unsigned long>(size) > kMaxBytes) return false;
    if (FSeek(file.get(), 0, SEEK_SET) != 0) return false;
    out.resize(static_cast<size_t>(size));
    if (size > 0 && FRead(out.data(), 1, out.size(), file.get()) != out.size()) {
        out.clear();
        return false;
    }
    return true;
}

int64_t AudioFile::LastWriteTime(const std::string& name) {
    // A file inside an archive carries the time the archive recorded for it.
    FileHandle file(FOpen(name.c_str(), "rb"));
    if (!file) return 0;
    if (file->record != nullptr) return static_cast<int64_t>(file->record->fileTime);
    std::error_code error;
    const auto time = std::filesystem::last_write_time(LooseFiles::Resolve(name), error);
    if (error) return 0;
    return static_cast<int64_t>(LooseFiles::ToFileTime(time));
}

}  // namespace Zarvo

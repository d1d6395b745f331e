// A file system that fails one operation the way a real one does, and the table of those
// failures that every writer of the player's files must survive.
#pragma once

#include <cerrno>
#include <cstddef>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace ZarvoTest {

enum class Fault {
    DeniedOpen,         // no permission to create the file
    NoSpace,            // the first write finds the device full
    NoSpaceMidway,      // part of the data is written, then the device is full
    SilentlyFull,       // a write that writes nothing and says nothing
    FailedSync,         // the flush to the device fails
    FailedClose,        // the close reports a delayed write error
    FailedRename,       // the rename over the old file fails
    CrashBeforeRename,  // the writer dies after writing: no rename, no clean-up
    Interrupted,        // writes interrupted by signals and cut short: not a failure
};

struct FaultCase {
    const char* name;
    Fault fault;
    int error;      // the errno the writer reports; 0 when the write succeeds
    bool tempLeft;  // whether a temporary file stays behind until the next write
};

inline void PrintTo(const FaultCase& c, std::ostream* os) {
    *os << c.name;
}

inline const std::vector<FaultCase> kWriteFaults = {
    {"DeniedOpen", Fault::DeniedOpen, EACCES, false},
    {"NoSpace", Fault::NoSpace, ENOSPC, false},
    {"NoSpaceMidway", Fault::NoSpaceMidway, ENOSPC, false},
    {"SilentlyFull", Fault::SilentlyFull, ENOSPC, false},
    {"FailedSync", Fault::FailedSync, EIO, false},
    {"FailedClose", Fault::FailedClose, EIO, false},
    {"FailedRename", Fault::FailedRename, EXDEV, false},
    {"CrashBeforeRename", Fault::CrashBeforeRename, EIO, true},
    {"Interrupted", Fault::Interrupted, 0, false},
};

// Passes everything to the real file system except the one fault.
class FaultyFileSystem : public Zarvo::FileSystem {
public:
    explicit FaultyFileSystem(Fault fault) : fault_(fault) {}

    int Create(const std::string& path) override {
        if (fault_ == Fault::DeniedOpen) return Fail(EACCES);
        return Real().Create(path);
    }
    std::ptrdiff_t Write(int fd, const void* data, size_t size) override {
        ++writes_;
        switch (fault_) {
            case Fault::NoSpace:
                return Fail(ENOSPC);
            case Fault::NoSpaceMidway:
                if (writes_ > 1) return Fail(ENOSPC);
                return Real().Write(fd, data, size / 2);
            case Fault::SilentlyFull:
                errno = 0;
                return 0;
            case Fault::Interrupted:
                if (writes_ % 2 == 1) return Fail(EINTR);
                return Real().Write(fd, data, size < 7 ? size : 7);
            default:
                return Real().Write(fd, data, size);
        }
    }
    int Sync(int fd) override {
        if (fault_ == Fault::FailedSync) return Fail(EIO);
        return Real().Sync(fd);
    }
    int Close(int fd) override {
        const int result = Real().Close(fd);
        if (fault_ == Fault::FailedClose) return Fail(EIO);
        return result;
    }
    int Rename(const std::string& from, const std::string& to) override {
        if (fault_ == Fault::FailedRename) return Fail(EXDEV);
        if (fault_ == Fault::CrashBeforeRename) return Fail(EIO);
        return Real().Rename(from, to);
    }
    int Remove(const std::string& path) override {
        if (fault_ == Fault::CrashBeforeRename) return Fail(EIO);
        return Real().Remove(path);
    }

private:
    static int Fail(int error) {
        errno = error;
        return -1;
    }

    Fault fault_;
    int writes_ = 0;
};

// The names in `folder` that are not `keep`: what a writer left behind.
inline std::vector<std::string> Leftovers(const std::filesystem::path& folder,
                                          const std::vector<std::string>& keep) {
    std::vector<std::string> found;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        bool kept = false;
        for (const std::string& k : keep) kept |= name == k;
        if (!kept) found.push_back(name);
    }
    return found;
}

}  // namespace ZarvoTest

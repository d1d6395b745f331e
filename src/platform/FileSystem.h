#pragma once
#include <cstddef>
#include <string>

namespace Zarvo {

// The file operations through which the player's files (the save game, the settings, demo
// recordings) are written. The base class is the real thing, the POSIX calls; a test derives from
// it to make one operation fail and installs it for a scope with ScopedFileSystem.
//
// Each operation answers as its POSIX namesake does: -1 with errno set on failure.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Opens `path` for writing, created or emptied, closed on exec; a descriptor or -1.
    virtual int Create(const std::string& path);
    // Writes up to `size` bytes; the number written (possibly fewer) or -1.
    virtual std::ptrdiff_t Write(int fd, const void* data, size_t size);
    // Flushes the file's data to the device (fsync).
    virtual int Sync(int fd);
    virtual int Close(int fd);
    // Replaces `to` by `from` in one step.
    virtual int Rename(const std::string& from, const std::string& to);
    // Removes a file (not a folder).
    virtual int Remove(const std::string& path);
    // Flushes a folder's entries to the device, so that a rename into it lasts a power cut.
    virtual int SyncFolder(const std::string& path);

    // The file system in use: the real one unless a test installed another.
    static FileSystem& Current();
    // The real one, for a replacement that passes most calls through.
    static FileSystem& Real();
};

// Installs `replacement` as FileSystem::Current() for the lifetime of this object and puts the
// previous one back after. Scopes nest; `replacement` must outlive this object.
class ScopedFileSystem {
public:
    explicit ScopedFileSystem(FileSystem& replacement);
    ~ScopedFileSystem();
    ScopedFileSystem(const ScopedFileSystem&) = delete;
    ScopedFileSystem& operator=(const ScopedFileSystem&) = delete;

private:
    FileSystem* previous_;
};

}  // namespace Zarvo

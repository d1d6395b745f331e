#include "platform/FileSystem.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>

namespace Zarvo {

namespace {
FileSystem realFileSystem;
std::atomic<FileSystem*> current{&realFileSystem};
}  // namespace

int FileSystem::Create(const std::string& path) {
    return open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
}

std::ptrdiff_t FileSystem::Write(int fd, const void* data, size_t size) {
    return write(fd, data, size);
}

int FileSystem::Sync(int fd) {
    return fsync(fd);
}

int FileSystem::Close(int fd) {
    return close(fd);
}

int FileSystem::Rename(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str());
}

int FileSystem::Remove(const std::string& path) {
    return unlink(path.c_str());
}

int FileSystem::SyncFolder(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return -1;
    const int result = fsync(fd);
    close(fd);
    return result;
}

FileSystem& FileSystem::Current() {
    return *current.load(std::memory_order_acquire);
}

FileSystem& FileSystem::Real() {
    return realFileSystem;
}

ScopedFileSystem::ScopedFileSystem(FileSystem& replacement)
    : previous_(current.exchange(&replacement, std::memory_order_acq_rel)) {}

ScopedFileSystem::~ScopedFileSystem() {
    current.store(previous_, std::memory_order_release);
}

}  // namespace Zarvo

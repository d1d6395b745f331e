#include "platform/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

namespace Zarvo {

bool AtomicFile::Write(const std::string& path, const void* data, size_t size) {
    if (path.empty() || (size > 0 && data == nullptr)) return false;
    std::error_code ec;
    const std::filesystem::path target(path);
    if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path(), ec);
    const std::string temp = path + ".tmp." + std::to_string(getpid());
    const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    const char* bytes = static_cast<const char*>(data);
    size_t done = 0;
    bool ok = true;
    while (done < size) {
        const ssize_t n = write(fd, bytes + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ok = false;
            break;
        }
        done += static_cast<size_t>(n);
    }
    if (ok && fsync(fd) != 0) ok = false;
    if (close(fd) != 0) ok = false;
    if (ok && rename(temp.c_str(), path.c_str()) != 0) ok = false;
    if (!ok) unlink(temp.c_str());
    return ok;
}

bool AtomicFile::Read(const std::string& path, size_t maxSize, std::string& out) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st = {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        static_cast<uint64_t>(st.st_size) > maxSize) {
        close(fd);
        return false;
    }
    std::string text;
    char buffer[4096];
    while (true) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            close(fd);
            return false;
        }
        if (n == 0) break;
        if (text.size() + static_cast<size_t>(n) > maxSize) {  // grew while reading
            close(fd);
            return false;
        }
        text.append(buffer, static_cast<size_t>(n));
    }
    close(fd);
    out = std::move(text);
    return true;
}

}  // namespace Zarvo

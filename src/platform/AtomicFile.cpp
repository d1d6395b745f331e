#include "platform/AtomicFile.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "platform/FileSystem.h"

namespace Zarvo {

namespace {

// "<name>.tmp.<pid>": the temporary file a writer with process id `pid` renames over <name>.
std::string TempName(const std::string& path, pid_t pid) {
    return path + ".tmp." + std::to_string(pid);
}

// Removes the temporary files of `path` that writers killed before their rename left behind.
// A file whose process still runs may be another copy's write in progress and is kept.
void RemoveLeftTemporaries(const std::filesystem::path& target, FileSystem& fs) {
    const std::string prefix = target.filename().string() + ".tmp.";
    std::error_code ec;
    const std::filesystem::path folder =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) continue;
        const std::string digits = name.substr(prefix.size());
        if (digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos)
            continue;
        const pid_t pid = static_cast<pid_t>(std::stol(digits));
        if (pid == getpid() || pid <= 0) continue;
        if (kill(pid, 0) == 0 || errno != ESRCH) continue;
        fs.Remove(it->path().string());
    }
}

int LastError() {
    return errno != 0 ? errno : EIO;
}

}  // namespace

bool AtomicFile::Write(const std::string& path, const void* data, size_t size) {
    if (path.empty() || (size > 0 && data == nullptr)) {
        errno = EINVAL;
        return false;
    }
    FileSystem& fs = FileSystem::Current();
    std::error_code ec;
    const std::filesystem::path target(path);
    if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path(), ec);
    const std::string temp = TempName(path, getpid());
    const int fd = fs.Create(temp);
    if (fd < 0) return false;
    const char* bytes = static_cast<const char*>(data);
    size_t done = 0;
    int failure = 0;  // the first error, which is what the caller is told
    while (done < size && failure == 0) {
        errno = 0;
        const std::ptrdiff_t n = fs.Write(fd, bytes + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        // Nothing written without an error is a full device that does not say so.
        if (n <= 0)
            failure = errno != 0 ? errno : ENOSPC;
        else
            done += static_cast<size_t>(n);
    }
    // Without the flush a crash soon after the rename can leave an empty or partial file under
    // the old name on some file systems.
    errno = 0;
    if (failure == 0 && fs.Sync(fd) != 0) failure = LastError();
    // A failed close can be the first report of a failed write (network file systems).
    if (fs.Close(fd) != 0 && failure == 0) failure = LastError();
    if (failure == 0 && fs.Rename(temp, path) != 0) failure = LastError();
    if (failure != 0) {
        fs.Remove(temp);
        errno = failure;
        return false;
    }
    // The new name itself lasts a power cut only once the folder is flushed too. Some file
    // systems cannot flush a folder; the file is in place either way.
    fs.SyncFolder(target.has_parent_path() ? target.parent_path().string() : ".");
    RemoveLeftTemporaries(target, fs);
    return true;
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

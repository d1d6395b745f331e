#include "platform/SingleInstanceGuard.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace Zarvo {

namespace {
// File names may not hold '/'; anything else in the product name is kept.
std::string FileSafe(std::string name) {
    for (char& c : name) {
        if (c == '/' || c == '\0') c = '_';
    }
    return name;
}

bool MakeAddress(const std::string& path, sockaddr_un& address) {
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

struct NotifyPacket {
    char magic[4];
    uint32_t reserved;
    uint64_t wParam;
    int64_t lParam;
};
constexpr char kMagic[4] = {'Z', 'N', 'T', 'F'};
}  // namespace

SingleInstanceGuard::SingleInstanceGuard(std::string folder, std::string product)
    : folder_(std::move(folder)), product_(FileSafe(std::move(product))) {}

SingleInstanceGuard::~SingleInstanceGuard() {
    if (socketFd_ >= 0) {
        close(socketFd_);
        unlink(SocketPath().c_str());
    }
    // The lock file stays: removing it could let two copies lock two different files.
    if (lockFd_ >= 0) close(lockFd_);
}

std::string SingleInstanceGuard::LockPath() const {
    return folder_ + "/" + product_ + "Mutex";
}
std::string SingleInstanceGuard::SocketPath() const {
    return folder_ + "/Notify" + product_;
}

bool SingleInstanceGuard::Acquire() {
    if (folder_.empty()) return true;
    if (lockFd_ >= 0) return true;
    mkdir(folder_.c_str(), 0700);
    const int fd = open(LockPath().c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return true;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool held = errno == EWOULDBLOCK;
        close(fd);
        return !held;
    }
    lockFd_ = fd;
    // Holding the lock, any socket file left behind is stale.
    sockaddr_un address;
    if (MakeAddress(SocketPath(), address)) {
        unlink(address.sun_path);
        socketFd_ = socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (socketFd_ >= 0 &&
            bind(socketFd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            close(socketFd_);
            socketFd_ = -1;
        }
    }
    return true;
}

bool SingleInstanceGuard::Notify(uint64_t wParam, int64_t lParam) {
    sockaddr_un address;
    if (folder_.empty() || !MakeAddress(SocketPath(), address)) return false;
    const int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    NotifyPacket packet{};
    std::memcpy(packet.magic, kMagic, sizeof kMagic);
    packet.wParam = wParam;
    packet.lParam = lParam;
    const ssize_t sent = sendto(fd, &packet, sizeof packet, MSG_NOSIGNAL,
                                reinterpret_cast<sockaddr*>(&address), sizeof address);
    close(fd);
    return sent == static_cast<ssize_t>(sizeof packet);
}

bool SingleInstanceGuard::PollNotify(uint64_t& wParam, int64_t& lParam) {
    while (socketFd_ >= 0) {
        NotifyPacket packet{};
        const ssize_t n = recv(socketFd_, &packet, sizeof packet, MSG_DONTWAIT);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        // Datagrams of another size or origin are dropped.
        if (n != static_cast<ssize_t>(sizeof packet) ||
            std::memcmp(packet.magic, kMagic, sizeof kMagic) != 0) {
            continue;
        }
        wParam = packet.wParam;
        lParam = packet.lParam;
        return true;
    }
    return false;
}

bool SingleInstanceGuard::IsHeld(const std::string& folder, const std::string& product) {
    if (folder.empty()) return false;
    const std::string path = folder + "/" + FileSafe(product) + "Mutex";
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool held = flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    close(fd);
    return held;
}

}  // namespace Zarvo

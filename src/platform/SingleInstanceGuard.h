#pragma once
#include <cstdint>
#include <string>

namespace Zarvo {

// Keeps a second copy of the program from running: an advisory lock on the file
// <folder>/<product>Mutex, held for the life of the guard, and a datagram socket
// <folder>/Notify<product> on which the holder receives notify messages from later copies.
// With an empty folder the guard is inert: every copy counts as the first.
class SingleInstanceGuard {
public:
    SingleInstanceGuard(std::string folder, std::string product);
    ~SingleInstanceGuard();
    SingleInstanceGuard(const SingleInstanceGuard&) = delete;
    SingleInstanceGuard& operator=(const SingleInstanceGuard&) = delete;

    // Takes the lock. False when another process holds it (or, with the lock file unusable, never:
    // a guard that cannot work must not keep the program from starting).
    bool Acquire();
    // Sends a notify message (two parameters) to the copy holding the lock; false when none
    // listens.
    bool Notify(uint64_t wParam, int64_t lParam);
    // Takes one waiting notify message; false when none waits. Never blocks.
    bool PollNotify(uint64_t& wParam, int64_t& lParam);
    bool Owns() const { return lockFd_ >= 0; }
    // Whether some process holds the lock right now (does not take it).
    static bool IsHeld(const std::string& folder, const std::string& product);

private:
    std::string LockPath() const;
    std::string SocketPath() const;

    std::string folder_;
    std::string product_;
    int lockFd_ = -1;
    int socketFd_ = -1;
};

}  // namespace Zarvo

#pragma once
#include <string>
#include <vector>

namespace Zarvo {

// Starts another program and waits for it; used by end-to-end tests and tools.
class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Starts `argv[0]` with the arguments, the current environment plus `extraEnv` ("NAME=value"
    // entries override), standard error (and output) appended to `outputPath` when not empty.
    bool Start(const std::vector<std::string>& argv, const std::vector<std::string>& extraEnv,
               const std::string& outputPath);
    // Waits for the end; answers the exit code, 128 + signal number when killed, or -1 when the
    // process did not end within `timeoutMs` (a safety net, not a measurement).
    int Wait(int timeoutMs);
    void Terminate();  // SIGTERM
    void Kill();       // SIGKILL
    bool Running() const { return pid_ > 0; }

private:
    int pid_ = -1;
};

}  // namespace Zarvo

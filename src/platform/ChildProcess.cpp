#include "platform/ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <thread>

extern char** environ;

namespace Zarvo {

ChildProcess::~ChildProcess() {
    if (pid_ > 0) {
        Kill();
        Wait(5000);
    }
}

bool ChildProcess::Start(const std::vector<std::string>& argv,
                         const std::vector<std::string>& extraEnv, const std::string& outputPath) {
    if (argv.empty() || pid_ > 0) return false;
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry(*e);
        const std::string name = entry.substr(0, entry.find('='));
        bool overridden = false;
        for (const std::string& x : extraEnv) overridden |= x.substr(0, x.find('=')) == name;
        if (!overridden) env.push_back(entry);
    }
    env.insert(env.end(), extraEnv.begin(), extraEnv.end());
    std::vector<char*> args, envp;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    for (const std::string& e : env) envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!outputPath.empty()) {
        posix_spawn_file_actions_addopen(&actions, 2, outputPath.c_str(),
                                         O_WRONLY | O_CREAT | O_APPEND, 0644);
        posix_spawn_file_actions_adddup2(&actions, 2, 1);
    }
    pid_t pid = -1;
    const int rc = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) return false;
    pid_ = pid;
    return true;
}

int ChildProcess::Wait(int timeoutMs) {
    if (pid_ <= 0) return -1;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (true) {
        int status = 0;
        const pid_t r = waitpid(pid_, &status, WNOHANG);
        if (r == pid_) {
            pid_ = -1;
            if (WIFEXITED(status)) return WEXITSTATUS(status);
            if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
            return -1;
        }
        if (r < 0) {
            pid_ = -1;
            return -1;
        }
        if (std::chrono::steady_clock::now() >= deadline) return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

void ChildProcess::Terminate() {
    if (pid_ > 0) kill(pid_, SIGTERM);
}

void ChildProcess::Kill() {
    if (pid_ > 0) kill(pid_, SIGKILL);
}

}  // namespace Zarvo

#include "platform/SignalWatcher.h"

#include <signal.h>

#include <atomic>

namespace Zarvo {

namespace {
volatile sig_atomic_t gCloseRequested = 0;
std::atomic<bool> gInstalled{false};

void OnSignal(int) {
    gCloseRequested = 1;
}
}  // namespace

void SignalWatcher::Install() {
    if (gInstalled.exchange(true)) return;
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
}

bool SignalWatcher::TakeCloseRequest() {
    if (!gCloseRequested) return false;
    gCloseRequested = 0;
    return true;
}

}  // namespace Zarvo

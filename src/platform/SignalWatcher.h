#pragma once

namespace Zarvo {

// Turns SIGTERM, SIGINT and SIGHUP into a close request that the event pump picks up, so that a
// terminated program still shuts down through its normal path (statistics, settings).
class SignalWatcher {
public:
    // Installs the handlers once per process.
    static void Install();
    // Answers whether a termination signal arrived since the last call, and clears it.
    static bool TakeCloseRequest();
};

}  // namespace Zarvo

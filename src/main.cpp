// The entry point of kelvane: creates the game application, starts it up, runs it, deletes it.
#include <memory>

#include "diagnostics/AllocationTracker.h"
#include "game/GameApp.h"

int main(int argc, char** argv) {
    std::unique_ptr<Kelvane::GameApp> app(KNEW Kelvane::GameApp());
    app->SetCommandLine(argc, argv);
    app->Init();
    app->Start();
    const bool failed = app->startFailed();
    app.reset();
    return failed ? 1 : 0;
}

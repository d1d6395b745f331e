// The entry point of kelvane: creates the game application, starts it up, runs it, deletes it.
#include <memory>

#include "diagnostics/AllocationTracker.h"
#include "game/GameApp.h"
#include "platform/Paths.h"

int main(int argc, char** argv) {
    std::unique_ptr<Kelvane::GameApp> app(KNEW Kelvane::GameApp());
    app->SetCommandLine(argc, argv);
    app->Init();
    // An installed game's working directory is its shared, often read-only data folder: the
    // leak report goes to the player's own data folder instead. A game run from its build tree
    // keeps it beside its data.
    if (Zarvo::Paths::IsInstalledLayout(Zarvo::Paths::ExecutablePath(), "kelvane") &&
        !app->appDataFolder.empty()) {
        Zarvo::SetLeakReportPath(app->appDataFolder + "mem_leaks.txt");
    }
    app->Start();
    const bool failed = app->startFailed();
    app.reset();
    return failed ? 1 : 0;
}

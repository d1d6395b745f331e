// The framework showcase: creates the application, starts it up, runs it until it quits.
#include <memory>

#include "ShowcaseApp.h"

int main(int argc, char** argv) {
    auto app = std::make_unique<ShowcaseApp>();
    app->SetCommandLine(argc, argv);
    app->Init();
    app->Start();
    const int code = app->ExitCode();
    app.reset();
    return code;
}

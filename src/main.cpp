// The entry point of kelvane: creates the application, starts it up, runs it, deletes it.
#include <memory>

#include "frame/ZarvoAppBase.h"

int main(int argc, char** argv) {
    auto app = std::make_unique<Zarvo::ZarvoAppBase>();
    app->SetCommandLine(argc, argv);
    app->Init();
    app->Start();
    app.reset();
    return 0;
}

// Fuzzes the command-line parser: any text splits into options without harm. Options are only
// collected (an unknown one would end the process by design).
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "frame/ZarvoAppBase.h"
#include "platform/HeadlessPlatform.h"

namespace {

class CollectingApp : public Zarvo::ZarvoAppBase {
public:
    CollectingApp() : ZarvoAppBase(std::make_unique<Zarvo::HeadlessPlatform>()) {}
    void ApplyCommandLineOption(const std::string& name, const std::string& value) override {
        if (name.empty()) std::abort();  // an empty name is never applied
        options.emplace_back(name, value);
    }
    std::vector<std::pair<std::string, std::string>> options;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static CollectingApp app;
    app.options.clear();
    const std::string text(reinterpret_cast<const char*>(data), size);
    app.SetCommandLineText(text);
    app.ParseOwnCommandLine();
    app.ParseCommandLineText(text);
    return 0;
}

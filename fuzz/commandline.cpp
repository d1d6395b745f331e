// Fuzzes the command-line parser: any text, read as one command line and as a list of
// arguments (split at zero bytes), splits into options without harm; every option has a name,
// and its echo for a message holds no control characters and stays short.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "frame/CommandLineParser.h"

namespace {

void Check(const std::vector<Zarvo::CommandLineParser::Option>& options) {
    for (const Zarvo::CommandLineParser::Option& option : options) {
        if (option.name.empty()) std::abort();
        const std::string shown = Zarvo::CommandLineParser::EchoText(option.name);
        if (shown.size() > Zarvo::CommandLineParser::kMaxEchoLength + 3) std::abort();
        for (const char c : shown) {
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    Check(Zarvo::CommandLineParser::ParseCommandLine(text));
    Check(Zarvo::CommandLineParser::ParseText(text));
    std::vector<std::string> arguments;
    std::string current;
    for (const char c : text) {
        if (c == '\0') {
            arguments.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    arguments.push_back(current);
    Check(Zarvo::CommandLineParser::ParseArguments(arguments));
    return 0;
}

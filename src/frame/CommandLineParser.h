#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace Zarvo {

// Splits command-line parameters into options. A parameter is a name, optionally followed by
// "=" and a value; equals signs are never stored, the first one only switches from the name to
// the value ("-demofile=a=b" gives "-demofile" and "ab"). Parameters with an empty name are
// dropped. The parser knows no option names; applying them is the application's business.
class CommandLineParser {
public:
    struct Option {
        std::string name;
        std::string value;
        bool operator==(const Option&) const = default;
    };

    // Longest text that EchoText shows before its "..." mark.
    static constexpr size_t kMaxEchoLength = 200;

    // The parameters as the program received them, already split (the program name is not
    // among them): each one is one option, and quote characters in it are ordinary characters.
    static std::vector<Option> ParseArguments(const std::vector<std::string>& arguments);
    // One parameter; an empty name gives an empty name (the caller drops it).
    static Option ParseArgument(std::string_view argument);

    // A command line written as one text: spaces separate parameters, double quotes group
    // words (a closing quote also ends the parameter).
    static std::vector<Option> ParseText(std::string_view text);
    // The parameters of a whole command line text, program name first: the name (in double
    // quotes when it holds spaces) is skipped. A quoted name without its closing quote leaves
    // nothing to parse.
    static std::vector<Option> ParseCommandLine(std::string_view commandLine);

    // A parameter as it may be shown in a message: control characters escaped (\n, \t, \r,
    // \xNN), and a text longer than kMaxEchoLength bytes cut before that (never inside an escape
    // or a UTF-8 character) and marked with "...".
    static std::string EchoText(std::string_view parameter);
};

}  // namespace Zarvo

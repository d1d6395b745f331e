#include "frame/CommandLineParser.h"

#include <cstdio>

namespace Zarvo {

CommandLineParser::Option CommandLineParser::ParseArgument(std::string_view argument) {
    Option option;
    bool inValue = false;
    for (const char c : argument) {
        if (c == '=') {
            inValue = true;
        } else if (inValue) {
            option.value += c;
        } else {
            option.name += c;
        }
    }
    return option;
}

std::vector<CommandLineParser::Option> CommandLineParser::ParseArguments(
    const std::vector<std::string>& arguments) {
    std::vector<Option> options;
    for (const std::string& argument : arguments) {
        Option option = ParseArgument(argument);
        if (!option.name.empty()) options.push_back(std::move(option));
    }
    return options;
}

std::vector<CommandLineParser::Option> CommandLineParser::ParseText(std::string_view text) {
    std::vector<Option> options;
    Option current;
    bool inQuotes = false;
    bool inValue = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        bool tokenEnds = false;
        if (c == '"') {
            inQuotes = !inQuotes;
            if (!inQuotes) tokenEnds = true;
        } else if (c == ' ' && !inQuotes) {
            tokenEnds = true;
        } else if (c == '=') {
            inValue = true;
        } else if (inValue) {
            current.value += c;
        } else {
            current.name += c;
        }
        const bool last = i + 1 == text.size();
        if ((tokenEnds || last) && !current.name.empty()) {
            options.push_back(std::move(current));
            current = Option();
        }
        if (tokenEnds || last) {
            current.value.clear();
            inValue = false;
        }
    }
    return options;
}

std::vector<CommandLineParser::Option> CommandLineParser::ParseCommandLine(
    std::string_view commandLine) {
    std::string_view text = commandLine;
    if (!text.empty() && text.front() == '"') {
        const size_t close = text.find('"', 1);
        if (close == std::string_view::npos) return {};
        text = text.substr(close + 1);
    }
    const size_t space = text.find(' ');
    if (space == std::string_view::npos) return {};
    return ParseText(text.substr(space + 1));
}

std::string CommandLineParser::EchoText(std::string_view parameter) {
    std::string out;
    size_t i = 0;
    while (i < parameter.size()) {
        // One unit at a time, so that neither an escape nor a UTF-8 character is ever split.
        const unsigned char c = static_cast<unsigned char>(parameter[i]);
        std::string unit;
        if (c == '\n') {
            unit = "\\n";
        } else if (c == '\t') {
            unit = "\\t";
        } else if (c == '\r') {
            unit = "\\r";
        } else if (c < 0x20 || c == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
            unit = escaped;
        } else {
            size_t end = i + 1;
            if (c >= 0xC0) {
                while (end < parameter.size() &&
                       (static_cast<unsigned char>(parameter[end]) & 0xC0) == 0x80) {
                    ++end;
                }
            }
            unit.assign(parameter.substr(i, end - i));
            i = end - 1;
        }
        if (out.size() + unit.size() > kMaxEchoLength) {
            out += "...";
            return out;
        }
        out += unit;
        ++i;
    }
    return out;
}

}  // namespace Zarvo

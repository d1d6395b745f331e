// The command-line parser alone: parameters, texts and the echo of a parameter in a message.
#include <gtest/gtest.h>

#include "frame/CommandLineParser.h"

using Zarvo::CommandLineParser;

namespace {

using Options = std::vector<CommandLineParser::Option>;

TEST(CommandLineParser, TextWithQuotesAndEqualsSigns) {
    EXPECT_EQ(CommandLineParser::ParseText("-changedir=\"/my data\" -play =junk -x=a=b=c"),
              (Options{{"-changedir", "/my data"}, {"-play", ""}, {"-x", "abc"}}));
    // A value without a name is dropped and does not stick to the next parameter.
    EXPECT_EQ(CommandLineParser::ParseText("=lost -play"), (Options{{"-play", ""}}));
}

TEST(CommandLineParser, ArgumentsKeepQuotesAndSpaces) {
    EXPECT_EQ(CommandLineParser::ParseArguments({"a\"b c", "\"", "-d=\"x y\""}),
              (Options{{"a\"b c", ""}, {"\"", ""}, {"-d", "\"x y\""}}));
}

struct EchoCase {
    const char* name;
    std::string parameter;
    std::string shown;
};

class EchoText : public testing::TestWithParam<EchoCase> {};

TEST_P(EchoText, ShowsAParameterSafely) {
    EXPECT_EQ(CommandLineParser::EchoText(GetParam().parameter), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLineParser, EchoText,
    testing::Values(EchoCase{"Plain", "-play", "-play"},
                    EchoCase{"ControlCharacters", std::string("a\nb\tc\rd\x1b[0m\x7f\x01", 13),
                             "a\\nb\\tc\\rd\\x1B[0m\\x7F\\x01"},
                    EchoCase{"NulByte", std::string("a\0b", 3), "a\\x00b"},
                    EchoCase{"Utf8Kept", "-sch\xC3\xA4tze", "-sch\xC3\xA4tze"},
                    EchoCase{"LongIsCut", std::string(300, 'x'), std::string(200, 'x') + "..."},
                    EchoCase{"ExactlyTheLimitIsWhole", std::string(200, 'y'),
                             std::string(200, 'y')},
                    // The cut falls inside a two-byte character: the whole character goes.
                    EchoCase{"CutKeepsCharactersWhole", std::string(199, 'z') + "\xC3\xA4" + "tail",
                             std::string(199, 'z') + "..."}),
    [](const testing::TestParamInfo<EchoCase>& info) { return std::string(info.param.name); });

}  // namespace

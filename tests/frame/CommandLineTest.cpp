// Command-line parsing and the options of the frame.
#include <gtest/gtest.h>

#include "TestApp.h"

using ZarvoTest::TestApp;

namespace {

using Options = std::vector<std::pair<std::string, std::string>>;

struct LineCase {
    const char* name;
    const char* commandLine;
    Options options;
};

class OwnCommandLine : public testing::TestWithParam<LineCase> {};

TEST_P(OwnCommandLine, SplitsIntoNamesAndValues) {
    TestApp app;
    app.recordOptions = true;
    app.SetCommandLineText(GetParam().commandLine);
    app.ParseOwnCommandLine();
    EXPECT_EQ(app.options, GetParam().options);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLine, OwnCommandLine,
    testing::Values(
        LineCase{"QuotedProgramWithSpaces",
                 "\"/opt/my games/kelvane\" -changedir=/data -play",
                 {{"-changedir", "/data"}, {"-play", ""}}},
        LineCase{"PlainProgram", "kelvane -screensaver", {{"-screensaver", ""}}},
        LineCase{"ProgramOnly", "kelvane", {}},
        LineCase{"UnclosedProgramQuote", "\"/opt/my games/kelvane -play", {}},
        LineCase{"OptionWithoutValue", "kelvane -changedir", {{"-changedir", ""}}},
        LineCase{"QuotedValueWithSpaces",
                 "kelvane -changedir=\"/my data/x\" -record",
                 {{"-changedir", "/my data/x"}, {"-record", ""}}},
        LineCase{
            "WholeOptionQuoted", "kelvane \"-demofile=/a b.dmo\"", {{"-demofile", "/a b.dmo"}}},
        LineCase{"RepeatedSpaces", "kelvane   -play    -record ", {{"-play", ""}, {"-record", ""}}},
        LineCase{"EqualsInValue", "kelvane -changedir=/a=b", {{"-changedir", "/a=b"}}}),
    [](const testing::TestParamInfo<LineCase>& info) { return std::string(info.param.name); });

TEST(CommandLine, ArgumentsWithSpacesSurviveTheRoundTrip) {
    TestApp app;
    app.recordOptions = true;
    const char* argv[] = {"/opt/my games/kelvane", "-changedir=/my data", "-play"};
    app.SetCommandLine(3, argv);
    app.ParseOwnCommandLine();
    EXPECT_EQ(app.options, (Options{{"-changedir", "/my data"}, {"-play", ""}}));
}

TEST(CommandLine, ChangeDirWithoutValueGivesAnEmptyTarget) {
    TestApp app;
    app.SetCommandLineText("kelvane -changedir");
    app.ParseOwnCommandLine();
    EXPECT_EQ(app.changeDirTarget, "");
}

TEST(CommandLine, KnownOptionsTakeEffectAndTheChangeDirTargetIsUsed) {
    TestApp app;
    app.SetCommandLineText("kelvane -changedir=/srv/kelvane -screensaver -recnum=0 -crash");
    app.Init();
    EXPECT_TRUE(app.screenSaverMode);
    EXPECT_FALSE(app.onlyAllowOneCopy);
    EXPECT_EQ(app.demoNumber, 5);  // not positive: 5
    EXPECT_EQ(app.hp.directoryChanges, std::vector<std::string>{"/srv/kelvane"});
}

using CommandLineDeathTest = testing::Test;

TEST(CommandLineDeathTest, ANameDifferingOnlyInCaseIsAnInvalidParameter) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    TestApp app;
    app.SetCommandLineText("kelvane -ChangeDir=/x");
    EXPECT_EXIT(app.ParseOwnCommandLine(), testing::ExitedWithCode(0),
                "FATAL ERROR: Invalid command line parameter: -ChangeDir");
}

TEST(CommandLineDeathTest, TheInvalidParameterTextComesFromTheStringTable) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    TestApp app;
    app.SetString("INVALID_COMMANDLINE_PARAM", "Unbekannte Option: ");
    EXPECT_EXIT(app.ParseCommandLineText("-x"), testing::ExitedWithCode(0),
                "Unbekannte Option: -x");
}

}  // namespace

// Command-line parsing and the options of the frame.
#include <gtest/gtest.h>

#include <filesystem>

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
        // Equals signs are never stored: the first one only starts the value.
        LineCase{"EqualsInValue", "kelvane -changedir=/a=b", {{"-changedir", "/ab"}}}),
    [](const testing::TestParamInfo<LineCase>& info) { return std::string(info.param.name); });

struct ArgumentCase {
    const char* name;
    std::vector<const char*> argv;
    Options options;
};

class ProgramArguments : public testing::TestWithParam<ArgumentCase> {};

TEST_P(ProgramArguments, EachArgumentIsOneParameter) {
    TestApp app;
    app.recordOptions = true;
    app.SetCommandLine(static_cast<int>(GetParam().argv.size()), GetParam().argv.data());
    app.ParseOwnCommandLine();
    EXPECT_EQ(app.options, GetParam().options);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLine, ProgramArguments,
    testing::Values(
        ArgumentCase{
            "QuoteAtTheEndIsOrdinary", {"kelvane", "x\"", "-play"}, {{"x\"", ""}, {"-play", ""}}},
        ArgumentCase{"QuoteAtTheStartDropsNothing",
                     {"kelvane", "\"-record", "-play", "-screensaver"},
                     {{"\"-record", ""}, {"-play", ""}, {"-screensaver", ""}}},
        ArgumentCase{"QuotedProgramName", {"\"/opt/my games/kelvane", "-play"}, {{"-play", ""}}},
        ArgumentCase{
            "EmptyAndBareEqualsAreDropped", {"kelvane", "", "=x", "-play"}, {{"-play", ""}}},
        ArgumentCase{
            "SecondEqualsIsNotStored", {"kelvane", "-demofile=a=b.dmo"}, {{"-demofile", "ab.dmo"}}},
        ArgumentCase{"ProgramOnly", {"kelvane"}, {}}),
    [](const testing::TestParamInfo<ArgumentCase>& info) { return std::string(info.param.name); });

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
    const std::string folder = std::filesystem::temp_directory_path().string();
    const std::string changeDir = "-changedir=" + folder;
    const char* argv[] = {"kelvane", changeDir.c_str(), "-screensaver", "-recnum=0", "-crash"};
    app.SetCommandLine(5, argv);
    app.Init();
    EXPECT_TRUE(app.screenSaverMode);
    EXPECT_FALSE(app.onlyAllowOneCopy);
    EXPECT_EQ(app.demoNumber, 5);  // not positive: 5
    EXPECT_EQ(app.hp.directoryChanges, std::vector<std::string>{folder});
}

using CommandLineDeathTest = testing::Test;

TEST(CommandLineDeathTest, ANameDifferingOnlyInCaseIsAnInvalidParameter) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    TestApp app;
    app.SetCommandLineText("kelvane -ChangeDir=/x");
    EXPECT_EXIT(app.ParseOwnCommandLine(), testing::ExitedWithCode(2),
                "FATAL ERROR: Invalid command line parameter: -ChangeDir");
}

TEST(CommandLineDeathTest, TheInvalidParameterTextComesFromTheStringTable) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    TestApp app;
    app.SetString("INVALID_COMMANDLINE_PARAM", "Unbekannte Option: ");
    EXPECT_EXIT(app.ParseCommandLineText("-x"), testing::ExitedWithCode(2),
                "Unbekannte Option: -x");
}

TEST(CommandLineDeathTest, AnInvalidParameterIsEchoedEscapedAndCut) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    TestApp app;
    const std::string parameter = "-x\x1b[2J" + std::string(500, 'a');
    const char* argv[] = {"kelvane", parameter.c_str()};
    app.SetCommandLine(2, argv);
    EXPECT_EXIT(app.ParseOwnCommandLine(), testing::ExitedWithCode(2),
                "parameter: -x\\\\x1B\\[2Ja{191}\\.\\.\\.\n");
}

TEST(CommandLineDeathTest, AChangeDirFolderThatDoesNotExistEndsTheStart) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    TestApp app;
    const char* argv[] = {"kelvane", "-changedir=/no/such/kelvane/folder"};
    app.SetCommandLine(2, argv);
    EXPECT_EXIT(app.Init(), testing::ExitedWithCode(2),
                "-changedir does not exist: \"/no/such/kelvane/folder\"");
}

}  // namespace

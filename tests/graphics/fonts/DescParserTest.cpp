#include "graphics/DescParser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace Zarvo {
namespace {

// Records every statement as text: strings as they read after unquoting, lists in parentheses.
class RecordingParser : public DescParser {
public:
    std::vector<std::string> statements;
    std::vector<int> lines;

    static std::string Show(const DataElement& e) {
        if (!e.isList) return e.value;
        std::string s = "(";
        for (size_t i = 0; i < e.list.size(); ++i) s += (i ? " " : "") + Show(e.list[i]);
        return s + ")";
    }

    bool HandleCommand(const std::vector<DataElement>& params) override {
        std::string cmd = ToUpper(params[0].value);
        if (cmd == "DEFINE") {
            std::string name;
            DataElement value;
            if (params.size() != 3) return Error(kInvalidParamCount);
            if (!GetName(params[1], &name) || !Dereference(params[2], &value)) return false;
            mDefineMap[ToUpper(name)] = value;
            return true;
        }
        if (cmd == "ECHO") {
            std::string s;
            for (size_t i = 1; i < params.size(); ++i) {
                DataElement v;
                if (!Dereference(params[i], &v)) return false;
                s += (i > 1 ? "|" : "") + Show(v);
            }
            statements.push_back(s);
            lines.push_back(mCurrentLineNum);
            return true;
        }
        if (cmd == "INT") {
            int v = 0;
            if (!GetInt(params[1], &v)) return false;
            statements.push_back(std::to_string(v));
            return true;
        }
        return Error(kUnknownCommand);
    }
};

TEST(DescParserTest, SplitsQuotesListsAndEscapes) {
    struct Case {
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"Echo 'x y;z' \"#q\";", "x y;z|#q"},
        {"Echo 'it''s';", "it's"},
        {"Echo 'a\\'b';", "a'b"},
        {"Echo (1 2 (3, 4)) -5 +6;", "(1 2 (3 4))|-5|+6"},
        {"Echo '';", ""},
        {"Echo ' ';", " "},
        {"echo 1\r\n2;", "1|2"},
    };
    for (const Case& c : cases) {
        RecordingParser p;
        ASSERT_TRUE(p.LoadDescriptorText(c.text)) << c.text << ": " << p.GetErrorText();
        ASSERT_EQ(p.statements.size(), 1u) << c.text;
        EXPECT_EQ(p.statements[0], c.expected) << c.text;
    }
}

TEST(DescParserTest, SyntaxErrorsHaveTheirTexts) {
    struct Case {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {"Echo 1 2);", "Unexpected List End"},
        {"Echo abc(1);", "Unexpected List Start"},
        {"Echo 'abc;", "Unterminated Single Quotes"},
        {"Echo \"abc;", "Unterminated Double Quotes"},
        {"Echo (1 (2);", "Unterminated List"},
        {"(Echo) 1;", "Missing Command"},
        {"Frobnicate 1;", "Unknown Command"},
        {"Int 12x;", "Invalid Paramater Type"},
        {"Int (1);", "Invalid Paramater Type"},
        {"Int +-1;", "Invalid Paramater Type"},
        {"Int 99999999999;", "Invalid Paramater Type"},
        {"Define 5 1;", "Invalid Paramater Type"},
        {"Echo Missing;", "Unable to Dereference \"Missing"},
    };
    for (const Case& c : cases) {
        RecordingParser p;
        EXPECT_FALSE(p.LoadDescriptorText(c.text)) << c.text;
        EXPECT_EQ(p.GetErrorText(), c.error) << c.text;
    }
}

TEST(DescParserTest, DefinesAreUpperCasedAndResolvedWhenDefined) {
    RecordingParser p;
    ASSERT_TRUE(
        p.LoadDescriptorText("Define Small 3; Define pair (small, 4); Define small 9;\n"
                             "Echo PAIR Small;"))
        << p.GetErrorText();
    ASSERT_EQ(p.statements.size(), 1u);
    // The pair keeps the value that "small" had when the pair was defined.
    EXPECT_EQ(p.statements[0], "(3 4)|9");
}

TEST(DescParserTest, CommentsOnlyAtLineStartAndLinesOfStatementStart) {
    RecordingParser p;
    ASSERT_TRUE(
        p.LoadDescriptorText("# a comment; with a semicolon\n"
                             "  # indented comment\n"
                             "Echo 1;\n"
                             "\n"
                             "Echo\n"
                             "  2\n"
                             "# inside a statement\n"
                             "  3; Echo '#4'\n"
                             ";"))
        << p.GetErrorText();
    ASSERT_EQ(p.statements.size(), 3u);
    EXPECT_EQ(p.statements[1], "2|3");
    EXPECT_EQ(p.statements[2], "#4");
    EXPECT_EQ(p.lines, (std::vector<int>{3, 5, 8}));
}

TEST(DescParserTest, LastStatementWithoutSemicolonRuns) {
    RecordingParser p;
    ASSERT_TRUE(p.LoadDescriptorText("Echo 1; Echo 2"));
    EXPECT_EQ(p.statements, (std::vector<std::string>{"1", "2"}));
}

TEST(DescParserTest, HostileNestingAndGrowthAreRefused) {
    RecordingParser deep;
    EXPECT_FALSE(deep.LoadDescriptorText("Echo " + std::string(100000, '(') + ";"));
    EXPECT_EQ(deep.GetErrorText(), "Unexpected List Start");

    // Each define doubles the previous one; the growth is stopped long before memory runs out.
    std::string text = "Define A0 (1 1);";
    for (int i = 1; i < 40; ++i) {
        text += "Define A" + std::to_string(i) + " (A" + std::to_string(i - 1) + " A" +
                std::to_string(i - 1) + ");";
    }
    RecordingParser growth;
    EXPECT_FALSE(growth.LoadDescriptorText(text));
    EXPECT_EQ(growth.GetErrorText(), "Invalid Paramater Type");
}

}  // namespace
}  // namespace Zarvo

#include "resources/XMLParser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/PakBuilder.h"
#include "files/PakInterface.h"
#include "files/TempDir.h"

using namespace Zarvo;

namespace {

// The elements of a document, each as "type:section:value", plus the parser's final state.
struct Parsed {
    std::vector<std::string> items;
    std::vector<XMLElement> elements;
    bool failed = false;
    std::string error;
    int line = 0;
};

Parsed ParseBytes(const std::vector<uint8_t>& bytes, bool comments = false) {
    TempDir dir;
    dir.Write("doc.xml", bytes);
    XMLParser parser;
    parser.AllowComments(comments);
    Parsed p;
    EXPECT_TRUE(parser.OpenFile(dir / "doc.xml"));
    XMLElement e;
    for (int guard = 0; guard < 1000 && parser.NextElement(&e); ++guard) {
        p.items.push_back(std::to_string(e.type) + ":" + e.section + ":" + e.value);
        p.elements.push_back(e);
    }
    p.failed = parser.HasFailed();
    p.error = parser.GetErrorText();
    p.line = parser.GetCurrentLineNum();
    return p;
}

Parsed Parse(const std::string& text, bool comments = false) {
    return ParseBytes(Bytes(text), comments);
}

using Items = std::vector<std::string>;

TEST(XMLParserTest, ReadsAManifest) {
    Parsed p = Parse(
        "<?xml version=\"1.0\"?>\n"
        "<ResManifest>\n"
        "  <Resources id=\"Init\">\n"
        "    <Image id=\"BALL\" path=\"images\\ball\"/>\n"
        "  </Resources>\n"
        "</ResManifest>\n");
    EXPECT_FALSE(p.failed) << p.error;
    Items expected = {"4::xml",
                      "1:/ResManifest:ResManifest",
                      "1:/ResManifest/Resources:Resources",
                      "1:/ResManifest/Resources/Image:Image",
                      "2:/ResManifest/Resources/Image:Image",
                      "2:/ResManifest/Resources:Resources",
                      "2:/ResManifest:ResManifest"};
    EXPECT_EQ(p.items, expected);
    EXPECT_EQ(p.elements[0].instruction, "version=\"1.0\"");
    const XMLElement& image = p.elements[3];
    ASSERT_EQ(image.attributeList.size(), 2u);
    EXPECT_EQ(image.attributeList[0], (std::pair<std::string, std::string>("id", "BALL")));
    EXPECT_EQ(image.attributes.at("path"), "images\\ball");
    EXPECT_EQ(p.line, 7);
}

TEST(XMLParserTest, SkipsLayoutButKeepsText) {
    EXPECT_EQ(Parse("<a>\n  <b> hello\n</b>\t\r\n</a>\n").items,
              (Items{"1:/a:a", "1:/a/b:b", "3:/a/b: hello\n", "2:/a/b:b", "2:/a:a"}));
    EXPECT_EQ(Parse("<a></a>\ntrailing").items, (Items{"1:/a:a", "2:/a:a", "3::\ntrailing"}));
    EXPECT_EQ(Parse("<a>&nbsp;</a>").items, (Items{"1:/a:a", "3:/a: ", "2:/a:a"}));
}

TEST(XMLParserTest, EmptyElementsReturnTheirEndTag) {
    struct Case {
        const char* doc;
        const char* lastAttribute;  // value of the last attribute, or null for none
    } cases[] = {
        {"<a/>", nullptr},      {"<a />", nullptr},        {"<a b=\"1\"/>", "1"},
        {"<a b=\"1\" />", "1"}, {"<a b=\"dir/\">", "dir"},  // a value really ending in '/' is
                                                            // shortened too
    };
    for (const Case& c : cases) {
        Parsed p = Parse(c.doc);
        EXPECT_FALSE(p.failed) << c.doc << ": " << p.error;
        EXPECT_EQ(p.items, (Items{"1:/a:a", "2:/a:a"})) << c.doc;
        ASSERT_FALSE(p.elements.empty());
        if (c.lastAttribute) {
            ASSERT_EQ(p.elements[0].attributeList.size(), 1u) << c.doc;
            EXPECT_EQ(p.elements[0].attributeList[0].second, c.lastAttribute);
            EXPECT_EQ(p.elements[0].attributes.at("b"), c.lastAttribute);
        } else {
            EXPECT_TRUE(p.elements[0].attributeList.empty()) << c.doc;
        }
    }
}

TEST(XMLParserTest, AttributesKeepQuotedTextAndOrder) {
    Parsed p = Parse("<a x=\"one two\" y=\"<b>\" x=\"last\" z = \"3\"></a>");
    ASSERT_FALSE(p.failed) << p.error;
    const XMLElement& e = p.elements[0];
    std::vector<std::pair<std::string, std::string>> list = {
        {"x", "one two"}, {"y", "<b>"}, {"x", "last"}, {"z", "3"}};
    EXPECT_EQ(e.attributeList, list);
    EXPECT_EQ(e.attributes.at("x"), "last");
    EXPECT_EQ(e.attributes.size(), 3u);
}

TEST(XMLParserTest, ReplacesEntities) {
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {"fish &amp; chips", "fish & chips"},
        {"&lt;&gt;&quot;&apos;&nbsp;&cr;", "<>\"' \n"},
        {"a &foo; b", "a & b"},
        {"a & b", "a & b"},
        {"x&amp", "x&amp"},
    };
    for (const Case& c : cases) {
        Parsed p = Parse(std::string("<t v=\"") + c.in + "\">" + c.in + "</t>");
        ASSERT_EQ(p.elements.size(), 3u) << c.in << ": " << p.error;
        EXPECT_EQ(p.elements[1].value, c.out);
        EXPECT_EQ(p.elements[0].attributes.at("v"), c.out);
    }
}

TEST(XMLParserTest, CommentsAreSkippedUnlessAllowed) {
    const std::string doc = "<a><!-- note b> here --><!--x--></a>";
    EXPECT_EQ(Parse(doc).items, (Items{"1:/a:a", "2:/a:a"}));
    Parsed p = Parse(doc, true);
    EXPECT_EQ(p.items, (Items{"1:/a:a", "5:/a:note b> here ", "5:/a:x", "2:/a:a"}));
}

TEST(XMLParserTest, ReportsErrorsWithTheirLine) {
    struct Case {
        const char* doc;
        const char* error;
        int line;
        size_t elementsBefore;
    } cases[] = {
        {"<a>\n</b>", "End 'b' Doesn't Match Start 'a'", 2, 1},
        {"<a></a>\n\n</a>", "Unexpected End", 3, 2},
        {"<a <b>", "Unexpected '<'", 1, 0},
        {"<a>\ntext > more</a>", "Unexpected '>'", 2, 1},
        {"<a>\n<b", "Unexpected End of File", 2, 1},
        {"<a>\x01</a>", "Illegal Character", 1, 1},
        {"<a>\n\n<!-- open", "Unexpected End of File", 3, 1},
        {"<a>\n<!-- a <b> in a comment --></a>", "Unexpected '<'", 2, 1},
        {"<?xml", "Unexpected End of File", 1, 0},
    };
    for (const Case& c : cases) {
        Parsed p = Parse(c.doc);
        EXPECT_TRUE(p.failed) << c.doc;
        EXPECT_EQ(p.error, c.error) << c.doc;
        EXPECT_EQ(p.line, c.line) << c.doc;
        EXPECT_EQ(p.items.size(), c.elementsBefore) << c.doc;
    }
    XMLParser parser;
    EXPECT_FALSE(parser.OpenFile("no/such/file.xml"));
    EXPECT_EQ(parser.GetErrorText(), "Unable to open file no/such/file.xml");
    EXPECT_EQ(parser.GetCurrentLineNum(), 0);
    XMLElement e;
    EXPECT_FALSE(parser.NextElement(&e));
}

TEST(XMLParserTest, NestingBeyondTheDepthLimitFails) {
    for (const int depth : {XMLParser::kMaxDepth - 1, XMLParser::kMaxDepth}) {
        std::string text;
        for (int i = 0; i < depth; ++i) text += "<a>";
        text += "<b/>";
        for (int i = 0; i < depth; ++i) text += "</a>";
        // The empty element <b/> opens one level more.
        const Parsed p = Parse(text);
        EXPECT_EQ(p.failed, depth + 1 > XMLParser::kMaxDepth) << depth;
        if (p.failed) {
            EXPECT_EQ(p.error, "Elements Nested Too Deeply");
        } else {
            EXPECT_EQ(p.items.size(), static_cast<size_t>(2 * depth + 2));
        }
    }
}

TEST(XMLParserTest, DetectsEncodingsByTheirMarks) {
    auto utf16 = [](const std::u16string& s, bool bigEndian) {
        std::vector<uint8_t> out;
        for (char16_t u : s) {
            uint8_t lo = uint8_t(u), hi = uint8_t(u >> 8);
            if (bigEndian) std::swap(lo, hi);
            out.push_back(lo);
            out.push_back(hi);
        }
        return out;
    };
    const std::u16string doc = u"\uFEFF<a v=\"\u00E9\">\U0001F600</a>";
    for (bool big : {false, true}) {
        Parsed p = ParseBytes(utf16(doc, big));
        ASSERT_FALSE(p.failed) << p.error;
        EXPECT_EQ(p.items, (Items{"1:/a:a", "3:/a:\xF0\x9F\x98\x80", "2:/a:a"})) << big;
        EXPECT_EQ(p.elements[0].attributes.at("v"), "\xC3\xA9");
    }
    Parsed utf8 = Parse("\xEF\xBB\xBF<a>\xC3\xA9</a>");
    EXPECT_EQ(utf8.items, (Items{"1:/a:a", "3:/a:\xC3\xA9", "2:/a:a"}));
    // Without a mark every byte is one character, kept as it is.
    Parsed latin = Parse("<a>\xE9\xFF</a>");
    EXPECT_EQ(latin.items, (Items{"1:/a:a", "3:/a:\xE9\xFF", "2:/a:a"}));
}

TEST(XMLParserTest, RejectsMalformedSequences) {
    const std::vector<std::vector<uint8_t>> bad = {
        {0xEF, 0xBB, 0xBF, '<', 'a', '>', 0x80, '<', '/', 'a', '>'},        // lone continuation
        {0xEF, 0xBB, 0xBF, '<', 'a', '>', 0xC0, 0xAF, '<', '/', 'a', '>'},  // overlong '/'
        {0xEF, 0xBB, 0xBF, '<', 'a', '>', 0xE0, 0x80, 0xAF, '<', '/', 'a', '>'},  // overlong
        {0xEF, 0xBB, 0xBF, '<', 'a', '>', 0xED, 0xA0, 0x80, '<', '/', 'a', '>'},  // surrogate
        {0xEF, 0xBB, 0xBF, '<', 'a', '>', 0xEF, 0xBF, 0xBE, '<', '/', 'a', '>'},  // U+FFFE
        {0xEF, 0xBB, 0xBF, '<', 'a', '>', 0xC3, 0x41, '<', '/', 'a', '>'},  // bad continuation
        {0xEF, 0xBB, 0xBF, '<', 'a', '>', 0xFE, '<', '/', 'a', '>'},        // no such lead
        {0xFF, 0xFE, '<', 0, 'a', 0, '>', 0, 0x00, 0xD8, 'x', 0},  // high surrogate, no low
        {0xFF, 0xFE, '<', 0, 'a', 0, '>', 0, 0x00, 0xDC, 'x', 0},  // low surrogate alone
    };
    for (size_t i = 0; i < bad.size(); ++i) {
        Parsed p = ParseBytes(bad[i]);
        EXPECT_TRUE(p.failed) << i;
        EXPECT_EQ(p.error, "Illegal Character") << i;
        EXPECT_EQ(p.items, (Items{"1:/a:a"})) << i;
    }
    // A sequence cut off by the end of the file just ends the document.
    Parsed cut = ParseBytes({0xEF, 0xBB, 0xBF, '<', 'a', '/', '>', 0xE2, 0x82});
    EXPECT_FALSE(cut.failed);
    EXPECT_EQ(cut.items, (Items{"1:/a:a", "2:/a:a"}));
}

TEST(XMLParserTest, ReadsThroughTheArchive) {
    TempDir dir;
    dir.Enter();
    PakInterface pak;
    PakBuilder builder;
    builder.AddFile("properties\\resources.xml", Bytes("<r>\r\n<i id=\"x\"/>\r\n</r>"));
    dir.Write("main.pak", builder.Build());
    ASSERT_TRUE(pak.AddPakFile("main.pak"));
    XMLParser parser;
    ASSERT_TRUE(parser.OpenFile("Properties/Resources.xml"));
    XMLElement e;
    std::vector<std::string> names;
    while (parser.NextElement(&e)) {
        if (e.type != XMLElement::TYPE_TEXT) names.push_back(e.value);
    }
    EXPECT_FALSE(parser.HasFailed()) << parser.GetErrorText();
    EXPECT_EQ(names, (std::vector<std::string>{"r", "i", "i", "r"}));
    EXPECT_EQ(parser.GetCurrentLineNum(), 3);
}

}  // namespace

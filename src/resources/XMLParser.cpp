#include "resources/XMLParser.h"

#include "files/FileFunctions.h"

namespace Zarvo {

namespace {

bool IsSpace(uint32_t c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// Replaces &lt; &amp; &gt; &quot; &apos; &nbsp; &cr;. An '&' followed later by ';' with any
// other name between becomes a lone '&' (the name and ';' are dropped); an '&' without a later
// ';' stays as it is.
std::string ReplaceEntities(const std::string& in) {
    if (in.find('&') == std::string::npos) return in;
    static const struct {
        const char* name;
        char replacement;
    } kEntities[] = {{"lt", '<'},    {"amp", '&'},  {"gt", '>'}, {"quot", '"'},
                     {"apos", '\''}, {"nbsp", ' '}, {"cr", '\n'}};
    std::string out;
    out.reserve(in.size());
    size_t i = 0;
    while (i < in.size()) {
        if (in[i] != '&') {
            out += in[i++];
            continue;
        }
        size_t semicolon = in.find(';', i + 1);
        if (semicolon == std::string::npos) {
            out += in.substr(i);
            break;
        }
        std::string name = in.substr(i + 1, semicolon - i - 1);
        char replacement = '&';
        for (const auto& entity : kEntities) {
            if (name == entity.name) replacement = entity.replacement;
        }
        out += replacement;
        i = semicolon + 1;
    }
    return out;
}

}  // namespace

XMLParser::~XMLParser() {
    if (mFile) FClose(mFile);
}

void XMLParser::Fail(const std::string& text) {
    if (mHasFailed) return;
    mHasFailed = true;
    mErrorText = text;
}

bool XMLParser::OpenFile(const std::string& name) {
    if (mFile) FClose(mFile);
    mFile = FOpen(name.c_str(), "rb");
    if (!mFile) {
        mHasFailed = true;
        mErrorText = "Unable to open file " + name;
        mLineNum = 0;
        return false;
    }
    mFileName = name;
    mLineNum = 1;
    mHasFailed = false;
    mErrorText.clear();
    mSection.clear();
    mDepth = 0;
    mPushBack.clear();
    mHasPendingEnd = false;
    mFirstChar = true;
    mByteSwap = false;
    mBufferPos = 0;
    mBufferLen = FRead(mBuffer, 1, sizeof mBuffer, mFile);
    if (!mForcedEncoding) {
        // The marks are left in the buffer: the readers see them as their first character.
        mEncoding = Encoding::Ascii;
        if (mBufferLen >= 2 && ((mBuffer[0] == 0xFF && mBuffer[1] == 0xFE) ||
                                (mBuffer[0] == 0xFE && mBuffer[1] == 0xFF))) {
            mEncoding = Encoding::Utf16;
        }
        if (mEncoding == Encoding::Ascii && mBufferLen >= 3 && mBuffer[0] == 0xEF &&
            mBuffer[1] == 0xBB && mBuffer[2] == 0xBF) {
            mEncoding = Encoding::Utf8;
        }
    }
    return true;
}

bool XMLParser::ReadByte(uint8_t* byte) {
    if (mBufferPos >= mBufferLen) {
        if (!mFile) return false;
        mBufferPos = 0;
        mBufferLen = FRead(mBuffer, 1, sizeof mBuffer, mFile);
        if (mBufferLen == 0) return false;
    }
    *byte = mBuffer[mBufferPos++];
    return true;
}

XMLParser::ReadResult XMLParser::ReadRaw(uint32_t* character) {
    uint8_t b;
    if (!ReadByte(&b)) return ReadResult::End;
    *character = b;
    return ReadResult::Ok;
}

XMLParser::ReadResult XMLParser::ReadUtf8(uint32_t* character) {
    for (;;) {
        uint8_t lead;
        if (!ReadByte(&lead)) return ReadResult::End;
        uint32_t value = lead;
        if (lead >= 0x80) {
            if (lead < 0xC0 || lead >= 0xFE) return ReadResult::Illegal;
            int count = lead >= 0xFC   ? 5
                        : lead >= 0xF8 ? 4
                        : lead >= 0xF0 ? 3
                        : lead >= 0xE0 ? 2
                                       : 1;
            static const uint32_t kSmallest[] = {0, 0x80, 0x800, 0x10000, 0x200000, 0x4000000};
            value = lead & ((1u << (6 - count)) - 1);
            for (int i = 0; i < count; ++i) {
                uint8_t next;
                if (!ReadByte(&next)) return ReadResult::End;
                if ((next & 0xC0) != 0x80) return ReadResult::Illegal;
                value = value << 6 | (next & 0x3F);
            }
            if (value < kSmallest[count]) return ReadResult::Illegal;  // overlong form
            if ((value >= 0xD800 && value <= 0xDFFF) || value == 0xFFFE || value == 0xFFFF) {
                return ReadResult::Illegal;
            }
        }
        bool first = mFirstChar;
        mFirstChar = false;
        if (first && value == 0xFEFF) continue;  // the byte-order mark
        *character = value;
        return ReadResult::Ok;
    }
}

XMLParser::ReadResult XMLParser::ReadUtf16(uint32_t* character) {
    auto readUnit = [this](uint32_t* unit) {
        uint8_t low, high;
        if (!ReadByte(&low) || !ReadByte(&high)) return false;
        *unit = mByteSwap ? uint32_t(low) << 8 | high : uint32_t(high) << 8 | low;
        return true;
    };
    uint32_t unit;
    if (!readUnit(&unit)) return ReadResult::End;
    if (mFirstChar) {
        mFirstChar = false;
        if (unit == 0xFEFF || unit == 0xFFFE) {
            mByteSwap = unit == 0xFFFE;
            if (!readUnit(&unit)) return ReadResult::End;
        }
    }
    if (unit >= 0xD800 && unit <= 0xDBFF) {
        uint32_t low;
        if (!readUnit(&low)) return ReadResult::End;
        if (low < 0xDC00 || low > 0xDFFF) return ReadResult::Illegal;
        unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
    } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
        return ReadResult::Illegal;  // a low surrogate on its own
    }
    *character = unit;
    return ReadResult::Ok;
}

XMLParser::ReadResult XMLParser::ReadChar(uint32_t* character) {
    if (!mPushBack.empty()) {
        *character = mPushBack.back();
        mPushBack.pop_back();
        return ReadResult::Ok;
    }
    ReadResult result = mEncoding == Encoding::Utf16  ? ReadUtf16(character)
                        : mEncoding == Encoding::Utf8 ? ReadUtf8(character)
                                                      : ReadRaw(character);
    if (result == ReadResult::Ok && *character == '\n') ++mLineNum;
    return result;
}

void XMLParser::Append(std::string* text, uint32_t c) const {
    if (c < 0x80 || mEncoding == Encoding::Ascii) {
        *text += static_cast<char>(c);
        return;
    }
    // UTF-8, with the long forms for values beyond U+10FFFF that the reader accepts.
    int count = c < 0x800 ? 1 : c < 0x10000 ? 2 : c < 0x200000 ? 3 : c < 0x4000000 ? 4 : 5;
    static const uint8_t kLead[] = {0, 0xC0, 0xE0, 0xF0, 0xF8, 0xFC};
    *text += static_cast<char>(kLead[count] | (c >> (6 * count)));
    for (int i = count - 1; i >= 0; --i) *text += static_cast<char>(0x80 | ((c >> (6 * i)) & 0x3F));
}

bool XMLParser::NextElement(XMLElement* element) {
    if (!mFile || mHasFailed || !element) return false;
    for (;;) {
        if (!Scan(element)) return false;
        if (element->type == XMLElement::TYPE_COMMENT && !mAllowComments) continue;
        // Layout between elements (indentation, line breaks) is no element: callers such as
        // the resource manifest expect one tag after another.
        if (element->type == XMLElement::TYPE_TEXT && mWhitespaceText) continue;
        return true;
    }
}

bool XMLParser::Scan(XMLElement* e) {
    *e = XMLElement();
    e->section = mSection;

    bool inQuote = false;
    bool inAttributes = false;
    bool nameEnded = false;  // an attribute name followed by whitespace
    bool inValue = false;    // after '='
    bool valueStarted = false;
    bool inInstructionRest = false;
    std::string attrName, attrValue;

    auto addAttribute = [&]() {
        attrValue = ReplaceEntities(attrValue);
        e->attributes[attrName] = attrValue;
        e->attributeList.emplace_back(attrName, attrValue);
        attrName.clear();
        attrValue.clear();
        nameEnded = inValue = valueStarted = false;
    };
    auto finish = [&]() {
        e->value = ReplaceEntities(e->value);
        return true;
    };

    if (mHasPendingEnd) {
        // The end tag of an empty element, as though "</name>" had been read.
        mHasPendingEnd = false;
        e->type = XMLElement::TYPE_END;
        e->value = mPendingEnd;
    } else {
        for (;;) {
            uint32_t c = 0;
            ReadResult result = ReadChar(&c);
            if (result == ReadResult::Illegal) {
                Fail("Illegal Character");
                return false;
            }
            if (result == ReadResult::End) {
                if (e->type == XMLElement::TYPE_NONE) return false;
                if (e->type == XMLElement::TYPE_TEXT) {
                    // Text running to the end of the file is returned; layout there is not.
                    if (mWhitespaceText) return false;
                    return finish();
                }
                Fail("Unexpected End of File");
                return false;
            }
            bool space = IsSpace(c);
            if (!inQuote && c < 0x20 && !space) {
                Fail("Illegal Character");
                return false;
            }

            switch (e->type) {
                case XMLElement::TYPE_NONE:
                    if (c == '<') {
                        e->type = XMLElement::TYPE_START;
                    } else if (c == '>') {
                        Fail("Unexpected '>'");
                        return false;
                    } else {
                        e->type = XMLElement::TYPE_TEXT;
                        mWhitespaceText = space;
                        Append(&e->value, c);
                    }
                    continue;

                case XMLElement::TYPE_TEXT:
                    if (c == '<') {
                        mPushBack.push_back(c);
                        return finish();
                    }
                    if (c == '>') {
                        Fail("Unexpected '>'");
                        return false;
                    }
                    mWhitespaceText = mWhitespaceText && space;
                    Append(&e->value, c);
                    continue;

                case XMLElement::TYPE_COMMENT:
                    // A comment holds no markup: a '<' in it is as wrong as anywhere else.
                    if (c == '<') {
                        Fail("Unexpected '<'");
                        return false;
                    }
                    if (c == '>' && EndsWith(e->value, "--")) {
                        e->value.resize(e->value.size() - 2);
                        return finish();
                    }
                    Append(&e->value, c);
                    continue;

                case XMLElement::TYPE_INSTRUCTION:
                    if (c == '<') {
                        Fail("Unexpected '<'");
                        return false;
                    }
                    if (c == '>') {
                        std::string& last = inInstructionRest ? e->instruction : e->value;
                        if (!last.empty() && last.back() == '?') last.pop_back();
                        return finish();
                    }
                    if (!inInstructionRest && space) {
                        inInstructionRest = true;
                    } else {
                        Append(inInstructionRest ? &e->instruction : &e->value, c);
                    }
                    continue;

                case XMLElement::TYPE_END:
                    if (c == '<') {
                        Fail("Unexpected '<'");
                        return false;
                    }
                    if (c == '>') break;
                    if (!space) Append(&e->value, c);
                    continue;

                default:  // start element
                    break;
            }
            if (e->type == XMLElement::TYPE_END) break;  // its '>' was read

            // Start element: the name, then the attributes.
            if (!inAttributes) {
                if (c == '<') {
                    Fail("Unexpected '<'");
                    return false;
                }
                if (e->value.empty() && c == '/') {
                    e->type = XMLElement::TYPE_END;
                    continue;
                }
                if (e->value.empty() && c == '?') {
                    e->type = XMLElement::TYPE_INSTRUCTION;
                    continue;
                }
                if (e->value == "!--") {
                    // A comment; whitespace right after "<!--" is not part of its text.
                    e->type = XMLElement::TYPE_COMMENT;
                    e->value.clear();
                    if (!space) Append(&e->value, c);
                    continue;
                }
                if (space) {
                    inAttributes = true;
                    continue;
                }
                if (c == '>') break;
                Append(&e->value, c);
                continue;
            }
            if (c == '"') {
                inQuote = !inQuote;
                if (inValue) valueStarted = true;
                continue;
            }
            if (inQuote) {
                Append(inValue ? &attrValue : &attrName, c);
                continue;
            }
            if (c == '<') {
                Fail("Unexpected '<'");
                return false;
            }
            if (c == '>') break;
            if (space) {
                if (inValue && valueStarted) {
                    addAttribute();
                } else if (!inValue && !attrName.empty()) {
                    nameEnded = true;
                }
                continue;
            }
            if (c == '=' && !inValue) {
                inValue = true;
                continue;
            }
            if (!inValue && nameEnded) addAttribute();  // a name without a value
            if (inValue) {
                Append(&attrValue, c);
                valueStarted = true;
            } else {
                Append(&attrName, c);
            }
        }
    }

    if (e->type == XMLElement::TYPE_END) {
        if (mSection.empty()) {
            Fail("Unexpected End");
            return false;
        }
        size_t slash = mSection.rfind('/');
        std::string last = mSection.substr(slash + 1);
        if (e->value != last) {
            Fail("End '" + e->value + "' Doesn't Match Start '" + last + "'");
            return false;
        }
        mSection.resize(slash);
        --mDepth;
        return finish();
    }

    // The closing '>' of a start element: settle the pending attribute and emptiness.
    bool empty = false;
    if (inAttributes) {
        if (!inValue && attrName == "/") {
            empty = true;
        } else if (!attrName.empty() || inValue) {
            addAttribute();
        }
    }
    if (!empty && !e->attributeList.empty()) {
        auto& [name, value] = e->attributeList.back();
        if (!value.empty() && value.back() == '/') {
            value.pop_back();
            e->attributes[name] = value;
            empty = true;
        }
    } else if (!empty && !e->value.empty() && e->value.back() == '/') {
        e->value.pop_back();
        empty = true;
    }
    // Every element carries its whole section path, so each level of nesting makes every later
    // element dearer; no manifest needs more than a handful.
    if (mDepth >= kMaxDepth) {
        Fail("Elements Nested Too Deeply");
        return false;
    }
    ++mDepth;
    mSection += "/" + e->value;
    e->section = mSection;
    if (empty) {
        mPendingEnd = e->value;
        mHasPendingEnd = true;
    }
    return finish();
}

}  // namespace Zarvo

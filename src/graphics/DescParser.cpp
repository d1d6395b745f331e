#include "graphics/DescParser.h"

#include <cctype>
#include <charconv>
#include <limits>

#include "files/FileFunctions.h"

namespace Zarvo {

namespace {

bool IsSeparator(char c) {
    // Carriage returns are separators too, so that descriptors saved with CR LF line ends read
    // the same as those with plain line feeds.
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == ',';
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool StartsImmediate(char c) {
    return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '\'' || c == '"';
}

}  // namespace

DescParser::DataElement DescParser::DataElement::MakeString(std::string text, bool isImmediate) {
    DataElement e;
    e.value = std::move(text);
    e.immediate = isImmediate;
    return e;
}

DescParser::DataElement DescParser::DataElement::MakeList() {
    DataElement e;
    e.isList = true;
    return e;
}

size_t DescParser::DataElement::CountElements() const {
    size_t count = 1;
    for (const DataElement& e : list) count += e.CountElements();
    return count;
}

bool DescParser::Error(const std::string& text) {
    mError = text;
    return false;
}

bool DescParser::SetDefine(const std::string& name, DataElement value) {
    const std::string key = ToUpper(name);
    auto it = mDefineMap.find(key);
    const size_t replaced = it == mDefineMap.end() ? 0 : it->second.CountElements();
    const size_t added = value.CountElements();
    if (mDefinedElements - replaced + added > kMaxDefinedElements) return Error(kTooManyElements);
    mDefinedElements = mDefinedElements - replaced + added;
    mDefineMap[key] = std::move(value);
    return true;
}

const DescParser::DataElement* DescParser::GetDefine(const std::string& name) {
    auto it = mDefineMap.find(ToUpper(name));
    return it == mDefineMap.end() ? nullptr : &it->second;
}

bool DescParser::LoadDescriptor(const std::string& fileName) {
    PakFile* file = FOpen(fileName.c_str(), "rb");
    if (file == nullptr) return Error("Unable to open file");
    std::string text;
    char buffer[4096];
    size_t got = 0;
    while ((got = FRead(buffer, 1, sizeof(buffer), file)) > 0) {
        // Descriptors are small; a huge file is refused rather than held in memory.
        if (text.size() + got > kMaxDescriptorBytes) {
            FClose(file);
            return Error("Unable to open file");
        }
        text.append(buffer, got);
    }
    FClose(file);
    return LoadDescriptorText(text);
}

bool DescParser::LoadDescriptorText(std::string_view text) {
    mCurrentLine.clear();
    mCurrentLineNum = 0;
    mInStatement = false;

    int line = 1;
    bool lineHasText = false;  // a non-blank character was seen on this line
    bool inComment = false;
    bool escaped = false;
    char quote = 0;
    bool statementHasText = false;

    for (char c : text) {
        if (c == '\n') {
            ++line;
            lineHasText = false;
            if (inComment) {
                inComment = false;
                continue;
            }
            if (statementHasText) mCurrentLine += c;
            escaped = false;
            continue;
        }
        if (inComment) continue;

        if (!IsBlank(c) && !statementHasText && c != ';' && !(c == '#' && !lineHasText)) {
            statementHasText = true;
            mCurrentLineNum = line;
        }
        if (escaped) {
            mCurrentLine += c;
            escaped = false;
            lineHasText = true;
            continue;
        }
        if (quote != 0) {
            mCurrentLine += c;
            if (c == '\\') {
                escaped = true;
            } else if (c == quote) {
                quote = 0;
            }
            lineHasText = true;
            continue;
        }
        if (c == '#' && !lineHasText) {
            inComment = true;
            continue;
        }
        if (!IsBlank(c)) lineHasText = true;
        if (c == ';') {
            if (statementHasText && !RunStatement()) return false;
            mCurrentLine.clear();
            statementHasText = false;
            continue;
        }
        if (c == '\\') escaped = true;
        if (c == '\'' || c == '"') quote = c;
        if (statementHasText) mCurrentLine += c;
    }
    // A last statement without its ';' still runs (and reports an open quote or list).
    if (statementHasText && !RunStatement()) return false;
    mCurrentLine.clear();
    return true;
}

bool DescParser::RunStatement() {
    while (!mCurrentLine.empty() && IsBlank(mCurrentLine.back())) mCurrentLine.pop_back();
    mInStatement = true;
    std::vector<DataElement> params;
    bool ok = SplitStatement(mCurrentLine, &params);
    if (ok && !params.empty()) {
        if (params[0].isList) {
            ok = Error("Missing Command");
        } else {
            ok = HandleCommand(params);
        }
    }
    mInStatement = false;
    return ok;
}

bool DescParser::SplitStatement(std::string_view text, std::vector<DataElement>* out) {
    std::vector<DataElement> stack;
    stack.push_back(DataElement::MakeList());

    std::string token;
    bool inToken = false;
    bool tokenImmediate = false;
    char quote = 0;
    char justClosed = 0;  // the quote character closed by the previous character
    size_t elements = 0;

    auto finishToken = [&]() {
        if (inToken) {
            ++elements;
            stack.back().list.push_back(DataElement::MakeString(token, tokenImmediate));
        }
        token.clear();
        inToken = false;
    };
    auto startToken = [&](bool immediate) {
        if (!inToken) {
            inToken = true;
            tokenImmediate = immediate;
        }
    };

    const size_t n = text.size();
    for (size_t i = 0; i < n; ++i) {
        if (elements > kMaxListElements) return Error(kTooManyElements);
        char c = text[i];
        if (quote != 0) {
            if (c == '\\' && i + 1 < n) {
                token += text[++i];
            } else if (c == quote) {
                quote = 0;
                justClosed = c;
            } else {
                token += c;
            }
            continue;
        }
        if (justClosed != 0 && c == justClosed) {
            // A doubled quote character inside a quoted value stands for one quote.
            token += c;
            quote = c;
            justClosed = 0;
            continue;
        }
        justClosed = 0;
        if (c == '\\') {
            startToken(false);
            if (i + 1 < n) token += text[++i];
        } else if (c == '\'' || c == '"') {
            startToken(true);
            quote = c;
        } else if (IsSeparator(c)) {
            finishToken();
        } else if (c == '(') {
            if (inToken) return Error("Unexpected List Start");
            if (stack.size() > kMaxListDepth) return Error("Unexpected List Start");
            stack.push_back(DataElement::MakeList());
            ++elements;
        } else if (c == ')') {
            finishToken();
            if (stack.size() == 1) return Error("Unexpected List End");
            DataElement done = std::move(stack.back());
            stack.pop_back();
            stack.back().list.push_back(std::move(done));
        } else {
            startToken(StartsImmediate(c));
            token += c;
        }
    }
    if (quote == '\'') return Error("Unterminated Single Quotes");
    if (quote == '"') return Error("Unterminated Double Quotes");
    finishToken();
    if (elements > kMaxListElements) return Error(kTooManyElements);
    if (stack.size() > 1) return Error("Unterminated List");
    *out = std::move(stack.front().list);
    return true;
}

bool DescParser::Dereference(const DataElement& in, DataElement* out) {
    if (in.isList) {
        DataElement result = DataElement::MakeList();
        size_t total = 1;
        for (const DataElement& e : in.list) {
            DataElement item;
            if (!Dereference(e, &item)) return false;
            total += item.CountElements();
            if (total > kMaxListElements) return Error(kInvalidParamType);
            result.list.push_back(std::move(item));
        }
        *out = std::move(result);
        return true;
    }
    if (in.immediate) {
        *out = in;
        return true;
    }
    const DataElement* value = GetDefine(in.value);
    if (value == nullptr) return Error("Unable to Dereference \"" + in.value);
    *out = *value;
    return true;
}

bool DescParser::GetString(const DataElement& in, std::string* out) {
    DataElement value;
    if (!Dereference(in, &value)) return false;
    if (value.isList) return Error(kInvalidParamType);
    *out = value.value;
    return true;
}

bool DescParser::GetInt(const DataElement& in, int* out) {
    std::string text;
    if (!GetString(in, &text)) return false;
    if (!ParseInt(text, out)) return Error(kInvalidParamType);
    return true;
}

bool DescParser::GetChar(const DataElement& in, unsigned char* out) {
    std::string text;
    if (!GetString(in, &text)) return false;
    if (text.size() != 1) return Error(kInvalidParamType);
    *out = static_cast<unsigned char>(text[0]);
    return true;
}

bool DescParser::GetList(const DataElement& in, DataElement* out) {
    if (!Dereference(in, out)) return false;
    if (!out->isList) return Error(kInvalidParamType);
    return true;
}

bool DescParser::GetIntList(const DataElement& in, std::vector<int>* out, size_t minCount,
                            size_t maxCount) {
    DataElement list;
    if (!GetList(in, &list)) return false;
    if (list.list.size() < minCount || list.list.size() > maxCount) {
        return Error(kInvalidParamType);
    }
    out->clear();
    for (const DataElement& e : list.list) {
        int v = 0;
        if (!GetInt(e, &v)) return false;
        out->push_back(v);
    }
    return true;
}

bool DescParser::GetName(const DataElement& in, std::string* out) {
    if (in.isList || in.immediate) return Error(kInvalidParamType);
    *out = in.value;
    return true;
}

std::string DescParser::ToUpper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

bool DescParser::ParseInt(const std::string& text, int* out) {
    const char* begin = text.data();
    const char* end = begin + text.size();
    if (begin != end && *begin == '+') {
        ++begin;
        if (begin != end && *begin == '-') return false;
    }
    if (begin == end) return false;
    int value = 0;
    auto [ptr, ec] = std::from_chars(begin, end, value);
    if (ec != std::errc() || ptr != end) return false;
    *out = value;
    return true;
}

}  // namespace Zarvo

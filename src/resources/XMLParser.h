// A small pull parser: open a file, then read one element at a time. Knows start and end tags,
// text, processing instructions and comments; tracks the enclosing section path and the line;
// reads single-byte, UTF-8 and UTF-16 files (told apart by their byte-order marks) and replaces
// the entities lt, amp, gt, quot, apos, nbsp and cr. No validation, DTDs or namespaces.
// Text made only of whitespace (the layout between tags) is skipped, not returned.
//
// Characters above 0x7F read by the UTF-8 and UTF-16 readers are stored UTF-8 encoded; the
// single-byte reader stores bytes unchanged.
//
// After the first error NextElement returns false for good; GetErrorText names the error and
// GetCurrentLineNum the line it was found on.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "files/PakFile.h"
#include "resources/XMLElement.h"

namespace Zarvo {

class XMLParser {
public:
    // Start elements open deeper than this fail with "Elements Nested Too Deeply".
    static constexpr int kMaxDepth = 256;

    XMLParser() = default;
    ~XMLParser();
    XMLParser(const XMLParser&) = delete;
    XMLParser& operator=(const XMLParser&) = delete;

    // Opens name through the archive-aware file functions. On failure the error text is
    // "Unable to open file " + name and the line number 0.
    bool OpenFile(const std::string& name);
    // The next element; false at the end of the file or on an error (see HasFailed).
    bool NextElement(XMLElement* element);

    bool HasFailed() const { return mHasFailed; }
    const std::string& GetErrorText() const { return mErrorText; }
    int GetCurrentLineNum() const { return mLineNum; }
    const std::string& GetFileName() const { return mFileName; }
    // Off by default: comments are skipped; on: they are returned as comment elements.
    void AllowComments(bool allow) { mAllowComments = allow; }

private:
    enum class Encoding { Ascii, Utf8, Utf16 };
    enum class ReadResult { Ok, End, Illegal };

    void Fail(const std::string& text);
    bool ReadByte(uint8_t* byte);
    ReadResult ReadRaw(uint32_t* character);
    ReadResult ReadUtf8(uint32_t* character);
    ReadResult ReadUtf16(uint32_t* character);
    ReadResult ReadChar(uint32_t* character);
    void Append(std::string* text, uint32_t character) const;
    bool Scan(XMLElement* element);

    std::string mFileName;
    std::string mSection;
    int mDepth = 0;  // start elements open in mSection
    PakFile* mFile = nullptr;
    int mLineNum = 0;
    bool mHasFailed = false;
    std::string mErrorText;
    bool mAllowComments = false;
    std::vector<uint32_t> mPushBack;  // characters given back, the next one at the back
    std::string mPendingEnd;          // the end tag owed after an empty element
    bool mHasPendingEnd = false;
    uint8_t mBuffer[4096] = {};
    size_t mBufferPos = 0;
    size_t mBufferLen = 0;
    Encoding mEncoding = Encoding::Ascii;
    bool mFirstChar = true;
    bool mByteSwap = false;
    bool mForcedEncoding = false;
    bool mWhitespaceText = false;  // the text being read holds only whitespace so far
};

}  // namespace Zarvo

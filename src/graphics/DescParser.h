#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace Zarvo {

// Reader of the small command language that font descriptors are written in.
//
// A descriptor is a sequence of statements ending with ';'. Each statement is split into
// elements (words, quoted strings and nested lists in parentheses); the first element names the
// command and the rest are its parameters. Named values made with "Define" are substituted where a
// parameter is not an immediate value. The first error stops reading; `Error` receives its text.
class DescParser {
public:
    // One element of a statement: a word or quoted string, or a list of elements.
    struct DataElement {
        bool isList = false;
        // For a string element: the text with quotes and escapes removed.
        std::string value;
        // The element starts with a digit, '-', '+' or a quote: it stands for itself and is never
        // looked up as a name.
        bool immediate = false;
        std::vector<DataElement> list;

        static DataElement MakeString(std::string text, bool isImmediate);
        static DataElement MakeList();
        size_t CountElements() const;
    };

    DescParser() = default;
    DescParser(const DescParser&) = delete;
    DescParser& operator=(const DescParser&) = delete;

    // Reads and runs a descriptor file through the archive-aware file functions. Returns false at
    // the first error (the statements before it have taken effect).
    bool LoadDescriptor(const std::string& fileName);
    // Runs descriptor text held in memory, with the same rules as a file.
    bool LoadDescriptorText(std::string_view text);

    // Records the error text and returns false.
    virtual bool Error(const std::string& text);
    // The value defined under the name (upper-cased before lookup), or null.
    virtual const DataElement* GetDefine(const std::string& name);
    // Runs one statement; params[0] is the command.
    virtual bool HandleCommand(const std::vector<DataElement>& params) = 0;
    virtual ~DescParser() = default;

    const std::string& GetErrorText() const { return mError; }
    static std::string ToUpper(std::string text);

    // Bounds on what a descriptor may ask for; beyond them reading stops with an error. The
    // game's descriptors stay far below: lists of a few hundred elements, a few levels deep.
    static constexpr size_t kMaxDescriptorBytes = size_t{16} << 20;
    // Lists nested deeper than this are refused, so that hostile input cannot exhaust the stack.
    static constexpr size_t kMaxListDepth = 64;
    // Elements (words, strings and lists, counted through nested lists) in one statement or in
    // one value after its names are replaced (defines of defines can double with every statement).
    static constexpr size_t kMaxListElements = size_t{1} << 16;
    // Elements held by all defined values together.
    static constexpr size_t kMaxDefinedElements = size_t{1} << 18;

    // Error texts of the language itself.
    static constexpr const char* kInvalidParamCount = "Invalid Number of Parameters";
    static constexpr const char* kInvalidParamType = "Invalid Paramater Type";
    static constexpr const char* kListSizeMismatch = "List Size Mismatch";
    static constexpr const char* kUnknownCommand = "Unknown Command";
    static constexpr const char* kTooManyElements = "Too Many Elements";

protected:
    // Splits one statement into its elements; false (with the error reported) when malformed.
    bool SplitStatement(std::string_view text, std::vector<DataElement>* out);
    bool RunStatement();

    // Defines `name` (upper-cased) as `value`, replacing an earlier value of that name; refused
    // with kTooManyElements when all defined values together would exceed kMaxDefinedElements.
    bool SetDefine(const std::string& name, DataElement value);
    // Replaces names by their defined values, recursively through lists.
    bool Dereference(const DataElement& in, DataElement* out);
    // Typed views of a parameter after dereferencing; each reports kInvalidParamType on mismatch.
    bool GetString(const DataElement& in, std::string* out);
    bool GetInt(const DataElement& in, int* out);
    bool GetChar(const DataElement& in, unsigned char* out);
    bool GetList(const DataElement& in, DataElement* out);
    bool GetIntList(const DataElement& in, std::vector<int>* out, size_t minCount, size_t maxCount);
    // A word naming something (a define or a layer): not a list and not an immediate value.
    bool GetName(const DataElement& in, std::string* out);

    static bool ParseInt(const std::string& text, int* out);

    // The statement being run, its first line, and whether a statement is in progress (errors then
    // name it).
    std::string mCurrentLine;
    int mCurrentLineNum = 0;
    bool mInStatement = false;
    std::map<std::string, DataElement> mDefineMap;
    size_t mDefinedElements = 0;  // elements held by mDefineMap's values
    std::string mError;
};

}  // namespace Zarvo

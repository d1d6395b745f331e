#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace Zarvo {

// The typed values of one settings key and its sub-keys, and their text form (settings.ini):
//
//   ; comment
//   Name=dword:85              unsigned 32-bit integer
//   Name=sz:text               string; bytes outside printable ASCII and %=[];# as %XX
//   [Sub\Key]                  values of a sub-key follow
//   Name=hex(3):0a1b           raw bytes with their type number
//
// Only complete lines (ended by a newline) are read, so a file cut off in the middle of a line
// loses that line instead of yielding a shortened value. Lines that do not parse are skipped.
class SettingsValues {
public:
    enum Type : uint32_t { kString = 1, kBinary = 3, kDword = 4 };
    struct Value {
        uint32_t type = kBinary;
        std::vector<uint8_t> data;
        bool operator==(const Value&) const = default;
    };
    // Sub-key path ("" for the key itself) -> value name -> value.
    using Sections = std::map<std::string, std::map<std::string, Value>>;

    // Largest settings text accepted; anything longer is treated as unreadable.
    static constexpr size_t kMaxTextSize = 1 << 20;

    // Replaces the contents with what `text` holds; returns false (and leaves it empty) when the
    // text is too large. Garbage lines are skipped, never fatal; SkippedLines counts them.
    bool Parse(std::string_view text);
    // Lines of the last Parse that held something but were not taken (an unfinished last line
    // included); comments and blank lines do not count.
    size_t SkippedLines() const { return skippedLines_; }
    std::string Serialize() const;

    bool Get(const std::string& section, const std::string& name, Value& out) const;
    void Set(const std::string& section, const std::string& name, Value value);
    // Removes a value; answers whether it existed.
    bool Remove(const std::string& section, const std::string& name);
    const Sections& All() const { return sections_; }

    static std::string Escape(std::string_view raw);
    // False when the text holds a malformed %XX escape.
    static bool Unescape(std::string_view text, std::string& out);

private:
    Sections sections_;
    size_t skippedLines_ = 0;
};

}  // namespace Zarvo

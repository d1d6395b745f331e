#pragma once
#include <map>
#include <string>

namespace Zarvo {

// Identifier -> display text (UTF-8) of every user-visible message of the frame, so a game can
// replace texts by loading its own.
class StringTable {
public:
    void Set(const std::string& id, const std::string& text) { texts_[id] = text; }
    bool Has(const std::string& id) const { return texts_.count(id) != 0; }
    // The table's text for `id`, or `fallback` when the id is absent.
    std::string LookUpText(const std::string& id, const std::string& fallback) const;

private:
    std::map<std::string, std::string> texts_;
};

}  // namespace Zarvo

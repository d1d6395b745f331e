// A running directory search of the archive-aware find functions: archive matches first, then
// the loose files that match the same pattern.
#pragma once

#include <memory>
#include <string>

#include "files/LooseFileSearch.h"

namespace Zarvo {

struct PakSearch {
    std::unique_ptr<LooseFileSearch> looseSearch;  // set once the archive has no more matches
    bool looseStarted = false;
    std::string lastKey;     // the archive key found last
    std::string pattern;     // normalised pattern for the archive
    std::string rawPattern;  // the pattern as given, for the loose files
};

}  // namespace Zarvo

// A directory search over real files with the Windows-style patterns the game uses: the last
// path component may hold '*' (any run of characters) and '?' (one character), compared
// without regard to case. Matches are reported in byte order of their names; "." and ".." are
// not reported.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "files/PakFindData.h"

namespace Zarvo {

class LooseFileSearch {
public:
    // Starts a search; null when the folder does not exist or nothing matches.
    static std::unique_ptr<LooseFileSearch> Start(const std::string& pattern);

    // Fills data with the next match; false when there is none.
    bool Next(PakFindData* data);

    // Whether name matches a wildcard pattern ('*', '?'), without regard to case.
    static bool Matches(const std::string& pattern, const std::string& name);

private:
    std::vector<PakFindData> mMatches;
    size_t mNext = 0;
};

}  // namespace Zarvo

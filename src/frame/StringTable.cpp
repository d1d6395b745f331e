#include "frame/StringTable.h"

namespace Zarvo {

std::string StringTable::LookUpText(const std::string& id, const std::string& fallback) const {
    const auto it = texts_.find(id);
    return it == texts_.end() ? fallback : it->second;
}

}  // namespace Zarvo

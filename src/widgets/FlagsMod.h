#pragma once

#include "widgets/WidgetFlags.h"

namespace Zarvo {

// A change to a pass flags word: bits to add, then bits to remove.
struct FlagsMod {
    int addFlags = 0;
    int removeFlags = 0;

    constexpr int Apply(int flags) const { return (flags | addFlags) & ~removeFlags; }
    constexpr bool Removes(int bit) const { return (removeFlags & bit) != 0; }
    constexpr bool operator==(const FlagsMod& other) const = default;
};

}  // namespace Zarvo

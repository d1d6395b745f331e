#pragma once

#include "widgets/FlagsMod.h"

namespace Zarvo {

// The flags a pass carries through the tree: one word for widgets at or above the modal
// barrier, one for widgets below it, and which of the two is current. A pass switches
// `isOver` on when it reaches the modal base widget, so the base and everything after it use
// the over flags.
struct ModalFlags {
    int overFlags = 0;
    int underFlags = 0;
    bool isOver = true;

    constexpr int Current() const { return isOver ? overFlags : underFlags; }
    constexpr void Apply(const FlagsMod& mod) {
        overFlags = mod.Apply(overFlags);
        underFlags = mod.Apply(underFlags);
    }
};

}  // namespace Zarvo

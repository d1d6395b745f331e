#pragma once
#include "platform/PlatformRect.h"

namespace Zarvo {

// Where the main window goes on the desktop.
class WindowPlacement {
public:
    // Outer position of a window of the given outer size in `workArea`. A remembered position
    // (either coordinate other than -1) is pulled back so the window keeps 4 pixels from every
    // work-area edge, left and top first, then right and bottom (so those win when the window is
    // larger than the area). Without one the window is centred horizontally and placed at 0.382
    // of the free height from the top.
    static void Place(const PlatformRect& workArea, int outerWidth, int outerHeight, int preferredX,
                      int preferredY, int& x, int& y);
};

}  // namespace Zarvo

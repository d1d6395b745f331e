#include "frame/WindowPlacement.h"

#include <algorithm>

namespace Zarvo {

void WindowPlacement::Place(const PlatformRect& area, int outerWidth, int outerHeight,
                            int preferredX, int preferredY, int& x, int& y) {
    constexpr int kMargin = 4;
    if (preferredX != -1 || preferredY != -1) {
        x = std::max(preferredX, area.x + kMargin);
        y = std::max(preferredY, area.y + kMargin);
        x = std::min(x, area.x + area.width - kMargin - outerWidth);
        y = std::min(y, area.y + area.height - kMargin - outerHeight);
        return;
    }
    x = area.x + (area.width - outerWidth) / 2;
    y = area.y + static_cast<int>((area.height - outerHeight) * 0.382);
}

}  // namespace Zarvo

#pragma once

namespace Zarvo {

// An integer point in widget coordinates.
struct WidgetPoint {
    int x = 0;
    int y = 0;

    constexpr bool operator==(const WidgetPoint& other) const = default;
};

}  // namespace Zarvo

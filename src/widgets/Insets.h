#pragma once

namespace Zarvo {

// Distances from the four edges of a rectangle, in pixels.
struct Insets {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    constexpr bool operator==(const Insets& other) const = default;
};

}  // namespace Zarvo

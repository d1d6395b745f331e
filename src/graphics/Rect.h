#pragma once

#include <algorithm>
#include <cstdint>

namespace Zarvo {

// An integer rectangle. An empty rectangle has a width or height of 0 or less.
class Rect {
public:
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    constexpr Rect() = default;
    constexpr Rect(int x_, int y_, int w, int h) : x(x_), y(y_), width(w), height(h) {}

    // The overlap of both rectangles; when they do not overlap the result has width or height 0.
    constexpr Rect Intersection(const Rect& other) const {
        const int64_t left = std::max<int64_t>(x, other.x);
        const int64_t top = std::max<int64_t>(y, other.y);
        const int64_t right = std::min<int64_t>(int64_t(x) + width, int64_t(other.x) + other.width);
        const int64_t bottom =
            std::min<int64_t>(int64_t(y) + height, int64_t(other.y) + other.height);
        return Rect(int(left), int(top), int(std::max<int64_t>(0, right - left)),
                    int(std::max<int64_t>(0, bottom - top)));
    }

    constexpr bool Intersects(const Rect& other) const {
        const Rect r = Intersection(other);
        return r.width > 0 && r.height > 0;
    }

    constexpr bool Contains(int px, int py) const {
        return px >= x && py >= y && int64_t(px) < int64_t(x) + width &&
               int64_t(py) < int64_t(y) + height;
    }

    constexpr bool IsEmpty() const { return width <= 0 || height <= 0; }

    constexpr bool operator==(const Rect& other) const = default;
};

}  // namespace Zarvo

// A point on a grid: a pixel of a sprite, or of the window that shows it.
#pragma once

#include <cstdint>

namespace tessel {

struct Point {
    std::int32_t x = 0, y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

} // namespace tessel

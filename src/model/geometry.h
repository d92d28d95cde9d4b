// Points and rectangles in sprite pixels or client pixels.
#pragma once

#include <algorithm>
#include <cstdint>

#include "raster/point.h"

namespace tessel {

// Right and bottom are exclusive. A rectangle with right <= left or
// bottom <= top is empty; emptying sets all four edges to 0.
struct Rect {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;

    bool isEmpty() const { return right <= left || bottom <= top; }
    void setEmpty() { left = top = right = bottom = 0; }
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool contains(Point p) const
    {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    void normalise()
    {
        if (right < left) std::swap(left, right);
        if (bottom < top) std::swap(top, bottom);
    }
    friend bool operator==(const Rect&, const Rect&) = default;
};

} // namespace tessel

// Small integer helpers shared by the figure rasterisers.
#pragma once

#include <algorithm>
#include <cmath>

#include "raster/point.h"

namespace tessel {

// Figure corners are clamped to +-kCoordinateLimit sprite pixels before any
// arithmetic, so that every product below fits in 64 bits. A pointer on any
// screen stays far inside this range (it is 65536 client pixels).
inline constexpr long long kCoordinateLimit = 1 << 14;

inline long long clampCoordinate(long long v)
{
    return std::clamp(v, -kCoordinateLimit, kCoordinateLimit);
}

struct LongPoint {
    long long x = 0, y = 0;
};

inline LongPoint clampPoint(Point p) { return {clampCoordinate(p.x), clampCoordinate(p.y)}; }

// floor(sqrt(v)) for 0 <= v < 2^62, exact.
inline long long isqrt(long long v)
{
    if (v <= 0) return 0;
    long long s = static_cast<long long>(std::sqrt(static_cast<double>(v)));
    while (s * s > v) --s;
    while ((s + 1) * (s + 1) <= v) ++s;
    return s;
}

} // namespace tessel

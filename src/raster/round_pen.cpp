#include "raster/round_pen.h"

#include <algorithm>

#include "raster/raster_math.h"

namespace tessel {

RoundPen::RoundPen(int width) : width_(std::max(width, 0))
{
    if (width_ <= 1) {
        uMin_.assign(1, 0);
        uMax_.assign(1, 0);
        return;
    }
    const long long w = width_;
    const long long e = w % 2 == 0 ? 1 : 0;
    vMin_ = static_cast<int>(-(w / 2));
    const int rows = static_cast<int>(w); // v runs over [-(w/2), w/2 - e]
    uMin_.resize(rows);
    uMax_.resize(rows);
    for (int i = 0; i < rows; ++i) {
        const long long t = 2LL * (vMin_ + i) + e;
        const long long s = isqrt(w * w - t * t); // largest |2u + e| allowed
        const long long uMax = e ? (s - 1) / 2 : s / 2;
        uMax_[i] = static_cast<int>(uMax);
        uMin_[i] = static_cast<int>(-uMax - e);
    }
}

void RoundPen::stampRun(GridMask& mask, long long y, long long x0, long long x1) const
{
    const long long first = std::max<long long>(vMin_, -y);
    const long long last =
        std::min<long long>(vMin_ + static_cast<long long>(uMin_.size()) - 1, kGridHeight - 1 - y);
    for (long long v = first; v <= last; ++v) {
        const std::size_t i = static_cast<std::size_t>(v - vMin_);
        mask.setSpan(static_cast<int>(y + v), x0 + uMin_[i], x1 + uMax_[i] + 1);
    }
}

int effectivePenWidth(long long requested, long long left, long long top, long long right,
                      long long bottom)
{
    if (requested <= 1) return requested < 0 ? 0 : static_cast<int>(requested);
    const long long dx = std::max<long long>(right, kGridWidth - 1) - std::min<long long>(left, 0);
    const long long dy = std::max<long long>(bottom, kGridHeight - 1) - std::min<long long>(top, 0);
    long long d = isqrt(dx * dx + dy * dy);
    if (d * d < dx * dx + dy * dy) ++d; // ceil
    // A disc of odd diameter 2d + 1 reaches every pixel within distance d.
    return static_cast<int>(std::min(requested, 2 * d + 1));
}

} // namespace tessel

#include "raster/line.h"

#include <algorithm>
#include <cstdlib>

#include "raster/raster_math.h"
#include "raster/round_pen.h"

namespace tessel {

namespace {

// Stamps runs of horizontally adjacent path pixels at once: a run of
// centres costs no more than one stamp.
class RunStamper {
public:
    RunStamper(const RoundPen& pen, GridMask& mask) : pen_(pen), mask_(mask) {}

    void add(long long x, long long y)
    {
        if (open_ && y == y_ && (x == x1_ + 1 || x == x0_ - 1)) {
            x0_ = std::min(x0_, x);
            x1_ = std::max(x1_, x);
            return;
        }
        flush();
        open_ = true;
        y_ = y;
        x0_ = x1_ = x;
    }

    void flush()
    {
        if (open_) pen_.stampRun(mask_, y_, x0_, x1_);
        open_ = false;
    }

private:
    const RoundPen& pen_;
    GridMask& mask_;
    bool open_ = false;
    long long y_ = 0, x0_ = 0, x1_ = 0;
};

} // namespace

GridMask lineCoverage(Point fromPoint, Point toPoint, int penWidth)
{
    GridMask mask;
    const LongPoint a = clampPoint(fromPoint), b = clampPoint(toPoint);
    const RoundPen pen(effectivePenWidth(penWidth, std::min(a.x, b.x), std::min(a.y, b.y),
                                         std::max(a.x, b.x), std::max(a.y, b.y)));
    const long long reach = pen.reach();
    const long long dx = b.x - a.x, dy = b.y - a.y;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const long long n = xMajor ? std::llabs(dx) : std::llabs(dy);
    const long long m = xMajor ? std::llabs(dy) : std::llabs(dx);
    if (n == 0) return mask; // the end pixel is not drawn, so nothing is

    // Work in (major, minor) coordinates; only steps whose stamp can reach
    // the grid are visited, which bounds the work for lines of any length.
    const long long major0 = xMajor ? a.x : a.y, minor0 = xMajor ? a.y : a.x;
    const long long majorSign = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const long long minorSign = (xMajor ? dy : dx) < 0 ? -1 : 1;
    const long long majorLimit = (xMajor ? kGridWidth : kGridHeight) - 1 + reach;
    const long long minorLimit = (xMajor ? kGridHeight : kGridWidth) - 1 + reach;
    long long iFirst = majorSign > 0 ? -reach - major0 : major0 - majorLimit;
    long long iLast = majorSign > 0 ? majorLimit - major0 : major0 + reach;
    iFirst = std::max(iFirst, 0LL);
    iLast = std::min(iLast, n - 1);

    RunStamper stamper(pen, mask);
    for (long long i = iFirst; i <= iLast; ++i) {
        const long long major = major0 + majorSign * i;
        const long long minor = minor0 + minorSign * ((2 * i * m + n) / (2 * n));
        if (minor < -reach || minor > minorLimit) continue;
        if (xMajor)
            stamper.add(major, minor);
        else
            stamper.add(minor, major);
    }
    stamper.flush();
    return mask;
}

} // namespace tessel

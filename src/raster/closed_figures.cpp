#include "raster/closed_figures.h"

#include <algorithm>
#include <limits>

#include "raster/raster_math.h"
#include "raster/round_pen.h"

namespace tessel {

long long ellipseRowInset(long long width, long long height, long long j)
{
    // Doubled coordinates keep the pixel centres integral: a pixel centre at
    // column x is X = 2x + 1 - width from the middle, and row j is Y.
    const long long y = 2 * j + 1 - height;
    const long long middleColumns = (width - 1) / 2;
    if (y >= -1 && y <= 1) return 0; // a middle row spans the whole box
    // Centre inside: X^2 / width^2 + Y^2 / height^2 <= 1.
    const long long xSquaredMax = width * width * (height * height - y * y) / (height * height);
    long long m = isqrt(xSquaredMax);
    if ((m - (width + 1)) % 2 != 0) --m; // X has the parity of width + 1
    if (m < 0) return middleColumns;
    return (width - 1 - m) / 2;
}

namespace {

struct Box {
    long long left, top, right, bottom; // right and bottom exclusive
    long long width() const { return right - left; }
    long long height() const { return bottom - top; }
};

Box boxOf(Point a, Point b)
{
    const LongPoint p = clampPoint(a), q = clampPoint(b);
    return {std::min(p.x, q.x), std::min(p.y, q.y), std::max(p.x, q.x), std::max(p.y, q.y)};
}

struct Run {
    long long from, to; // [from, to)
};

// Builds outline and interior of a region given by the run of each row
// (rowRun(y) for top <= y < bottom), visiting only the rows whose pen stamps
// can reach the grid.
template <class RowRun>
FigureCoverage coverRegion(const Box& box, int penWidth, RowRun rowRun)
{
    FigureCoverage c;
    if (box.width() <= 0 || box.height() <= 0) return c;
    const RoundPen pen(
        effectivePenWidth(penWidth, box.left, box.top, box.right - 1, box.bottom - 1));
    const long long reach = pen.reach();
    const long long first = std::max(box.top, -reach);
    const long long last = std::min(box.bottom - 1, kGridHeight - 1 + reach);
    constexpr Run none{std::numeric_limits<long long>::max(),
                       std::numeric_limits<long long>::min()};
    for (long long y = first; y <= last; ++y) {
        const Run run = rowRun(y);
        const Run above = y > box.top ? rowRun(y - 1) : none;
        const Run below = y + 1 < box.bottom ? rowRun(y + 1) : none;
        // Interior pixels have all four neighbours in the region.
        const long long inFrom = std::max({run.from + 1, above.from, below.from});
        const long long inTo = std::min({run.to - 1, above.to, below.to});
        std::array<Run, 2> outline{run, Run{0, 0}};
        if (inFrom < inTo) {
            c.interior.setSpan(static_cast<int>(y), inFrom, inTo);
            outline = {Run{run.from, inFrom}, Run{inTo, run.to}};
        }
        for (const Run& r : outline) {
            const long long from = std::max(r.from, -reach);
            const long long to = std::min(r.to, kGridWidth + reach);
            if (from < to) pen.stampRun(c.outline, y, from, to - 1);
        }
    }
    c.interior.remove(c.outline);
    return c;
}

// Clamps a typed corner size to [0, limit]: a corner larger than the box
// draws the same as one exactly as large as the box.
long long clampCorner(int size, long long limit) { return std::clamp<long long>(size, 0, limit); }

} // namespace

FigureCoverage rectangleCoverage(Point a, Point b, int penWidth)
{
    const Box box = boxOf(a, b);
    return coverRegion(box, penWidth, [&](long long) { return Run{box.left, box.right}; });
}

FigureCoverage ellipseCoverage(Point a, Point b, int penWidth)
{
    const Box box = boxOf(a, b);
    return coverRegion(box, penWidth, [&](long long y) {
        const long long d = ellipseRowInset(box.width(), box.height(), y - box.top);
        return Run{box.left + d, box.right - d};
    });
}

FigureCoverage roundRectCoverage(Point a, Point b, int penWidth, int cornerWidth, int cornerHeight)
{
    const Box box = boxOf(a, b);
    const long long cw = clampCorner(cornerWidth, box.width());
    const long long ch = clampCorner(cornerHeight, box.height());
    if (cw == 0 || ch == 0) return rectangleCoverage(a, b, penWidth);
    // Rows of the top half take the corner ellipse's top rows, rows of the
    // bottom half its bottom rows, and the rows between its middle row; the
    // ellipse's run is widened by the box's extra width.
    return coverRegion(box, penWidth, [&](long long y) {
        const long long j = y - box.top, half = ch / 2;
        const long long ey =
            j < half ? j : (j >= box.height() - half ? j - (box.height() - ch) : half);
        const long long d = ellipseRowInset(cw, ch, ey);
        return Run{box.left + d, box.right - d};
    });
}

} // namespace tessel

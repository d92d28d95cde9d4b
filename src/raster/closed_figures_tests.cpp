#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "raster/closed_figures.h"

namespace tessel {
namespace {

// Draws a mask as text rows ('#' set, '.' clear) over columns [0, w) and
// rows [0, h), for hand-drawn expectations.
std::vector<std::string> picture(const GridMask& m, int w, int h)
{
    std::vector<std::string> rows;
    for (int y = 0; y < h; ++y) {
        std::string row;
        for (int x = 0; x < w; ++x) row += m.test(x, y) ? '#' : '.';
        rows.push_back(row);
    }
    return rows;
}

// Region membership from first principles, in real numbers with the
// pixel's centre at (x + 0.5, y + 0.5).
struct BoxD {
    int l, t, r, b;
    bool contains(int x, int y) const { return x >= l && x < r && y >= t && y < b; }
};

bool inEllipse(const BoxD& box, int x, int y)
{
    if (!box.contains(x, y)) return false;
    const double cx = (box.l + box.r) / 2.0, cy = (box.t + box.b) / 2.0;
    const double a = (box.r - box.l) / 2.0, b = (box.b - box.t) / 2.0;
    const double u = (x + 0.5 - cx) / a, v = (y + 0.5 - cy) / b;
    // The middle row(s) and column(s): those within half a pixel of the axes.
    const bool middleRow = std::abs(y + 0.5 - cy) <= 0.5;
    const bool middleColumn = std::abs(x + 0.5 - cx) <= 0.5;
    return u * u + v * v <= 1.0 || middleRow || middleColumn;
}

// The box with its corners replaced by quarter ellipses: the union of the
// four corner ellipses and the cross between them.
bool inRoundRect(const BoxD& box, int cw, int ch, int x, int y)
{
    if (!box.contains(x, y)) return false;
    cw = std::clamp(cw, 0, box.r - box.l);
    ch = std::clamp(ch, 0, box.b - box.t);
    if (cw == 0 || ch == 0) return true;
    if (x >= box.l + cw / 2 && x < box.r - cw / 2) return true;
    if (y >= box.t + ch / 2 && y < box.b - ch / 2) return true;
    for (int cl : {box.l, box.r - cw})
        for (int ct : {box.t, box.b - ch})
            if (inEllipse({cl, ct, cl + cw, ct + ch}, x, y)) return true;
    return false;
}

bool discCovers(long long width, long long cx, long long cy, long long px, long long py)
{
    if (width <= 1) return px == cx && py == cy;
    const long long e = width % 2 == 0 ? 1 : 0;
    const long long u = 2 * (px - cx) + e, v = 2 * (py - cy) + e;
    return u * u + v * v <= width * width;
}

// Outline: region pixels with a 4-neighbour outside; a wide pen covers
// every grid pixel within its disc of one of them, drawn over the interior.
FigureCoverage referenceFigure(const BoxD& box, int width, const std::function<bool(int, int)>& in)
{
    auto isOutline = [&](int x, int y) {
        return in(x, y) && (!in(x - 1, y) || !in(x + 1, y) || !in(x, y - 1) || !in(x, y + 1));
    };
    std::vector<std::pair<int, int>> outline;
    for (int y = box.t; y < box.b; ++y)
        for (int x = box.l; x < box.r; ++x)
            if (isOutline(x, y)) outline.emplace_back(x, y);
    FigureCoverage c;
    for (int y = 0; y < kGridHeight; ++y)
        for (int x = 0; x < kGridWidth; ++x) {
            bool covered = false;
            for (const auto& [ox, oy] : outline)
                if (discCovers(width, ox, oy, x, y)) {
                    covered = true;
                    break;
                }
            if (covered)
                c.outline.set(x, y);
            else if (in(x, y))
                c.interior.set(x, y);
        }
    return c;
}

void expectSame(const FigureCoverage& got, const FigureCoverage& want, const std::string& what)
{
    EXPECT_EQ(got.outline, want.outline) << what;
    EXPECT_EQ(got.interior, want.interior) << what;
}

TEST(Rectangle, HandDrawn)
{
    const FigureCoverage c = rectangleCoverage({1, 1}, {5, 4}, 1);
    EXPECT_EQ(picture(c.outline, 6, 5),
              (std::vector<std::string>{"......", ".####.", ".#..#.", ".####.", "......"}));
    EXPECT_EQ(picture(c.interior, 6, 5),
              (std::vector<std::string>{"......", "......", "..##..", "......", "......"}));
    // Corners in any order give the same figure.
    const FigureCoverage r = rectangleCoverage({5, 1}, {1, 4}, 0);
    EXPECT_EQ(r.outline, c.outline);
    EXPECT_EQ(r.interior, c.interior);
}

TEST(Rectangle, WithoutWidthOrHeightDrawsNothing)
{
    for (int w : {1, 9}) {
        const FigureCoverage flat = rectangleCoverage({3, 7}, {40, 7}, w);
        const FigureCoverage thin = ellipseCoverage({3, 7}, {3, 30}, w);
        const FigureCoverage dot = roundRectCoverage({3, 7}, {3, 7}, w, 5, 5);
        for (const auto* c : {&flat, &thin, &dot}) {
            EXPECT_TRUE(c->outline.empty());
            EXPECT_TRUE(c->interior.empty());
        }
    }
}

TEST(Ellipse, HandDrawn)
{
    FigureCoverage c = ellipseCoverage({0, 0}, {4, 4}, 1);
    EXPECT_EQ(picture(c.outline, 4, 4), (std::vector<std::string>{".##.", "#..#", "#..#", ".##."}));
    EXPECT_EQ(picture(c.interior, 4, 4),
              (std::vector<std::string>{"....", ".##.", ".##.", "...."}));
    c = ellipseCoverage({8, 8}, {0, 0}, 1);
    EXPECT_EQ(picture(c.outline, 8, 8),
              (std::vector<std::string>{"..####..", ".#....#.", "#......#", "#......#", "#......#",
                                        "#......#", ".#....#.", "..####.."}));
    // A very flat ellipse still spans the whole box.
    c = ellipseCoverage({0, 0}, {12, 2}, 1);
    EXPECT_EQ(c.outline.count(), 24);
}

TEST(RoundRect, HandDrawnAndItsLimits)
{
    // Corner 4 x 4: each corner is the quarter of a 4 x 4 ellipse.
    const FigureCoverage c = roundRectCoverage({0, 0}, {8, 6}, 1, 4, 4);
    EXPECT_EQ(picture(c.outline, 8, 6),
              (std::vector<std::string>{".######.", "#......#", "#......#", "#......#", "#......#",
                                        ".######."}));
    // A corner as large as the box (or larger) is the ellipse; no corner is
    // the rectangle; typed extremes do not overflow.
    for (int r : {40, 2147483647}) {
        const FigureCoverage big = roundRectCoverage({2, 3}, {30, 19}, 3, r, r);
        expectSame(big, ellipseCoverage({2, 3}, {30, 19}, 3), "radius " + std::to_string(r));
    }
    for (int r : {0, -7, INT_MIN})
        expectSame(roundRectCoverage({2, 3}, {30, 19}, 1, r, r),
                   rectangleCoverage({2, 3}, {30, 19}, 1), "radius " + std::to_string(r));
}

TEST(ClosedFigures, MatchTheReferenceForRandomBoxesPensAndCorners)
{
    std::mt19937 rng(21);
    std::uniform_int_distribution<int> coord(-20, 95);
    std::uniform_int_distribution<int> width(-1, 14);
    std::uniform_int_distribution<int> corner(-2, 40);
    for (int k = 0; k < 150; ++k) {
        Point a{coord(rng), coord(rng)}, b{coord(rng), coord(rng)};
        const BoxD box{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x),
                       std::max(a.y, b.y)};
        const int w = width(rng), cw = corner(rng), ch = corner(rng);
        const std::string what = std::to_string(a.x) + "," + std::to_string(a.y) + " " +
                                 std::to_string(b.x) + "," + std::to_string(b.y) + " w" +
                                 std::to_string(w) + " r" + std::to_string(cw) + "x" +
                                 std::to_string(ch);
        expectSame(rectangleCoverage(a, b, w),
                   referenceFigure(box, w, [&](int x, int y) { return box.contains(x, y); }),
                   "rect " + what);
        expectSame(ellipseCoverage(a, b, w),
                   referenceFigure(box, w, [&](int x, int y) { return inEllipse(box, x, y); }),
                   "ellipse " + what);
        expectSame(
            roundRectCoverage(a, b, w, cw, ch),
            referenceFigure(box, w, [&](int x, int y) { return inRoundRect(box, cw, ch, x, y); }),
            "roundrect " + what);
    }
}

TEST(ClosedFigures, HugePensAndBoxesDrawInBoundedTime)
{
    GridMask full;
    for (auto& r : full.rows) r = ~std::uint64_t{0};
    // An outline pixel on the grid and a pen beyond the grid's diagonal:
    // the pen covers everything, so nothing is left for the brush.
    const FigureCoverage c = ellipseCoverage({0, 0}, {30, 30}, 2147483647);
    EXPECT_EQ(c.outline, full);
    EXPECT_TRUE(c.interior.empty());
    // A box far larger than any screen: the grid lies inside it, brush only.
    const FigureCoverage huge =
        roundRectCoverage({INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}, 32, 64, 64);
    EXPECT_TRUE(huge.outline.empty());
    EXPECT_EQ(huge.interior, full);
    const FigureCoverage hugePen = ellipseCoverage({INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}, INT_MAX);
    EXPECT_EQ(hugePen.outline, full);
}

} // namespace
} // namespace tessel

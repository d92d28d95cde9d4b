#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "raster/line.h"

namespace tessel {
namespace {

using Pixels = std::set<std::pair<int, int>>;

// The one-pixel path from first principles: for every step along the longer
// axis, the nearest pixel to the exact line, halves rounded away from the
// start. Doubles are exact here (ties are exact halves).
std::vector<std::pair<long long, long long>> referencePath(Point a, Point b)
{
    std::vector<std::pair<long long, long long>> path;
    const long long dx = b.x - a.x, dy = b.y - a.y;
    const long long n = std::max(std::llabs(dx), std::llabs(dy));
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    for (long long i = 0; i < n; ++i) {
        // One correctly rounded division: exact halves stay exact.
        const double minorExact =
            static_cast<double>(std::llabs(xMajor ? dy : dx) * i) / static_cast<double>(n);
        const long long minorStep = static_cast<long long>(std::floor(minorExact + 0.5));
        const long long majorStep = i;
        const long long sx = dx < 0 ? -1 : 1, sy = dy < 0 ? -1 : 1;
        if (xMajor)
            path.emplace_back(a.x + sx * majorStep, a.y + sy * minorStep);
        else
            path.emplace_back(a.x + sx * minorStep, a.y + sy * majorStep);
    }
    return path;
}

bool discCovers(long long width, long long cx, long long cy, long long px, long long py)
{
    if (width <= 1) return px == cx && py == cy;
    const long long e = width % 2 == 0 ? 1 : 0;
    const long long u = 2 * (px - cx) + e, v = 2 * (py - cy) + e;
    return u * u + v * v <= width * width;
}

// Every grid pixel tested against every path pixel: slow and plainly right.
GridMask referenceLine(Point a, Point b, long long width)
{
    GridMask mask;
    const auto path = referencePath(a, b);
    for (int y = 0; y < kGridHeight; ++y)
        for (int x = 0; x < kGridWidth; ++x)
            for (const auto& [cx, cy] : path)
                if (discCovers(width, cx, cy, x, y)) {
                    mask.set(x, y);
                    break;
                }
    return mask;
}

Pixels pixelsOf(const GridMask& m)
{
    Pixels p;
    forEachPixel(m, [&](int x, int y) { p.emplace(x, y); });
    return p;
}

TEST(Line, HandDrawnThinLines)
{
    // From (0,0) to (4,1): the exact line crosses y = 0.5 at x = 2.
    EXPECT_EQ(pixelsOf(lineCoverage({0, 0}, {4, 1}, 1)), (Pixels{{0, 0}, {1, 0}, {2, 1}, {3, 1}}));
    // Steep: one pixel per row, the end excluded.
    EXPECT_EQ(pixelsOf(lineCoverage({5, 2}, {4, 6}, 1)), (Pixels{{5, 2}, {5, 3}, {4, 4}, {4, 5}}));
    // Diagonal, drawn backwards.
    EXPECT_EQ(pixelsOf(lineCoverage({3, 3}, {0, 0}, 0)), (Pixels{{3, 3}, {2, 2}, {1, 1}}));
    // A line to its own start draws nothing.
    EXPECT_TRUE(lineCoverage({7, 7}, {7, 7}, 1).empty());
    EXPECT_TRUE(lineCoverage({7, 7}, {7, 7}, 9).empty());
}

TEST(Line, FlatLinesTakeOnePixelPerColumnAndSteepOnesOnePerRow)
{
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> coord(0, 63);
    for (int k = 0; k < 300; ++k) {
        Point a{coord(rng), coord(rng)}, b{coord(rng), coord(rng)};
        const GridMask m = lineCoverage(a, b, 1);
        const bool flat = std::abs(b.x - a.x) >= std::abs(b.y - a.y);
        std::vector<int> perLine(80, 0);
        forEachPixel(m, [&](int x, int y) { ++perLine[flat ? x : y]; });
        const int n = std::max(std::abs(b.x - a.x), std::abs(b.y - a.y));
        EXPECT_EQ(m.count(), n);
        for (int c : perLine) EXPECT_LE(c, 1);
        if (n > 0) {
            EXPECT_TRUE(m.test(a.x, a.y));
            EXPECT_FALSE(m.test(b.x, b.y));
        }
    }
}

TEST(Line, PenWidthsBelowTwoDrawOnePixel)
{
    const GridMask one = lineCoverage({1, 2}, {40, 30}, 1);
    EXPECT_EQ(lineCoverage({1, 2}, {40, 30}, 0), one);
    EXPECT_EQ(lineCoverage({1, 2}, {40, 30}, -7), one);
    EXPECT_EQ(lineCoverage({1, 2}, {40, 30}, INT_MIN), one);
}

TEST(Line, WidePensHandDrawn)
{
    // Width 3: a 3 x 3 square at each path pixel.
    Pixels expected;
    for (int x = 4; x <= 8; ++x)
        for (int y = 9; y <= 11; ++y) expected.emplace(x, y);
    EXPECT_EQ(pixelsOf(lineCoverage({5, 10}, {8, 10}, 3)), expected);
    // Width 2: the 2 x 2 square up and left of each pixel, exactly 2 wide.
    EXPECT_EQ(pixelsOf(lineCoverage({5, 10}, {5, 12}, 2)),
              (Pixels{{4, 9}, {5, 9}, {4, 10}, {5, 10}, {4, 11}, {5, 11}}));
    // Width 5 at a single pixel: a disc of diameter 5 (the square without
    // its corners).
    const Pixels disc = pixelsOf(lineCoverage({10, 10}, {11, 10}, 5));
    EXPECT_EQ(disc.size(), 21u);
    EXPECT_FALSE(disc.count({8, 8}));
    EXPECT_TRUE(disc.count({8, 9}));
    EXPECT_TRUE(disc.count({12, 10}));
}

TEST(Line, MatchesTheReferenceForRandomLinesAndWidths)
{
    std::mt19937 rng(4);
    std::uniform_int_distribution<int> coord(-30, 110);
    std::uniform_int_distribution<int> width(-2, 24);
    for (int k = 0; k < 400; ++k) {
        Point a{coord(rng), coord(rng)}, b{coord(rng), coord(rng)};
        const int w = width(rng);
        ASSERT_EQ(lineCoverage(a, b, w), referenceLine(a, b, w))
            << a.x << "," << a.y << " -> " << b.x << "," << b.y << " width " << w;
    }
}

TEST(Line, WideLinesAreCentredWithRoundEnds)
{
    // Compared with the exact capsule around the segment: everything well
    // inside it is drawn, nothing well outside it. The margins allow for the
    // path's half-pixel rounding, the even pens' half-pixel offset and the
    // undrawn end pixel.
    std::mt19937 rng(8);
    std::uniform_int_distribution<int> coord(5, 60);
    for (int k = 0; k < 100; ++k) {
        Point a{coord(rng), coord(rng)}, b{coord(rng), coord(rng)};
        if (a == b) continue;
        const double w = 2 + k % 15;
        const GridMask m = lineCoverage(a, b, static_cast<int>(w));
        for (int y = 0; y < kGridHeight; ++y)
            for (int x = 0; x < kGridWidth; ++x) {
                const double vx = b.x - a.x, vy = b.y - a.y;
                double t = ((x - a.x) * vx + (y - a.y) * vy) / (vx * vx + vy * vy);
                t = std::clamp(t, 0.0, 1.0);
                const double d = std::hypot(x - (a.x + t * vx), y - (a.y + t * vy));
                if (d <= w / 2 - 2.25) {
                    EXPECT_TRUE(m.test(x, y)) << x << "," << y;
                }
                if (d > w / 2 + 1.25) {
                    EXPECT_FALSE(m.test(x, y)) << x << "," << y;
                }
            }
    }
}

TEST(Line, ClippedToTheGrid)
{
    // Straight across row 5 from far left to far right: exactly 64 pixels.
    const GridMask across = lineCoverage({-1000, 5}, {1000, 5}, 1);
    EXPECT_EQ(across.count(), 64);
    EXPECT_EQ(across.rows[5], ~std::uint64_t{0});
    // Wholly off the grid: nothing, even with a wide pen that falls short.
    EXPECT_TRUE(lineCoverage({-50, -50}, {200, -50}, 60).empty());
    EXPECT_EQ(lineCoverage({-50, -50}, {200, -50}, 103).count(),
              referenceLine({-50, -50}, {200, -50}, 103).count());
}

TEST(Line, HugeWidthsDrawInBoundedTimeLikeAnyWidthThatCoversTheGrid)
{
    // A pen wider than the grid's diagonal covers everything from any pixel
    // of an on-grid line, and every larger width draws the same.
    GridMask full;
    for (auto& r : full.rows) r = ~std::uint64_t{0};
    EXPECT_EQ(lineCoverage({10, 10}, {20, 12}, 2147483647), full);
    EXPECT_EQ(lineCoverage({10, 10}, {20, 12}, 50000), full);
    EXPECT_EQ(lineCoverage({10, 10}, {20, 12}, 50), referenceLine({10, 10}, {20, 12}, 50));
    // Far away lines: a huge pen reaches the grid; the slow reference
    // decides which widths fall short.
    for (long long w : {12000LL, 14500LL, 2147483647LL}) {
        const Point a{-4000, -4990}, b{-5000, -5000};
        EXPECT_EQ(lineCoverage(a, b, static_cast<int>(w)), referenceLine(a, b, w)) << w;
    }
    // Corners far beyond any screen are clamped and do not overflow.
    EXPECT_NO_FATAL_FAILURE(lineCoverage({INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}, INT_MAX));
    EXPECT_TRUE(lineCoverage({INT_MIN, 40}, {INT_MAX, 40}, 1).rows[40] == ~std::uint64_t{0});
}

} // namespace
} // namespace tessel

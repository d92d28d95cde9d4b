#include <gtest/gtest.h>

#include <array>
#include <queue>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "raster/flood_fill.h"

namespace tessel {
namespace {

using Grid = std::array<int, kGridWidth * kGridHeight>;

// Breadth-first search over 4 neighbours with a visited set.
GridMask referenceArea(const Grid& g, Point seed)
{
    GridMask m;
    if (!GridMask::onGrid(seed.x, seed.y)) return m;
    const int target = g[seed.y * kGridWidth + seed.x];
    std::set<std::pair<int, int>> seen{{seed.x, seed.y}};
    std::queue<std::pair<int, int>> todo;
    todo.push({seed.x, seed.y});
    while (!todo.empty()) {
        auto [x, y] = todo.front();
        todo.pop();
        m.set(x, y);
        for (auto [nx, ny] : {std::pair{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}}) {
            if (!GridMask::onGrid(nx, ny) || g[ny * kGridWidth + nx] != target) continue;
            if (seen.insert({nx, ny}).second) todo.push({nx, ny});
        }
    }
    return m;
}

// A grid from text rows ('#' = 1, anything else 0), padded with 0.
Grid gridFrom(const std::vector<std::string>& rows)
{
    Grid g{};
    for (int y = 0; y < static_cast<int>(rows.size()); ++y)
        for (int x = 0; x < static_cast<int>(rows[y].size()); ++x)
            g[y * kGridWidth + x] = rows[y][x] == '#' ? 1 : 0;
    return g;
}

TEST(FloodFill, ClosedOutlineKeepsTheFillInsideAndAGapLetsItOut)
{
    const Grid closed = gridFrom({"#####", "#...#", "#...#", "#####"});
    const GridMask inside = floodArea(closed.data(), Point{2, 1});
    EXPECT_EQ(inside.count(), 6);
    EXPECT_TRUE(inside.test(3, 2));
    EXPECT_FALSE(inside.test(5, 1));

    const Grid gap = gridFrom({"#####", "#...#", "#....", "#####"});
    const GridMask leaked = floodArea(gap.data(), Point{2, 1});
    EXPECT_EQ(leaked.count(), kGridWidth * kGridHeight - 13); // all but the 13 wall pixels
    EXPECT_TRUE(leaked.test(63, 79));
}

TEST(FloodFill, ConnectsFourNeighboursOnly)
{
    // The walls touch only at corners, yet 4-connected pixels cannot pass
    // between them diagonally.
    const Grid diagonal = gridFrom({"..#", ".#.", "#.."});
    EXPECT_EQ(floodArea(diagonal.data(), Point{0, 0}).count(), 3);
    EXPECT_EQ(floodArea(diagonal.data(), Point{2, 0}).count(), 1);
}

TEST(FloodFill, SeedOffTheGridFillsNothing)
{
    const Grid g{};
    for (Point p : {Point{-1, 0}, Point{0, -1}, Point{64, 5}, Point{5, 80}})
        EXPECT_TRUE(floodArea(g.data(), p).empty());
    EXPECT_EQ(floodArea(g.data(), Point{63, 79}).count(), kGridWidth * kGridHeight);
}

TEST(FloodFill, MatchesBreadthFirstSearchOnRandomGrids)
{
    std::mt19937 rng(5);
    for (int k = 0; k < 200; ++k) {
        Grid g;
        // Few colours make large, winding areas.
        std::uniform_int_distribution<int> colour(0, k % 3 + 1);
        for (int& c : g) c = colour(rng);
        std::uniform_int_distribution<int> xs(0, 63), ys(0, 79);
        const Point seed{xs(rng), ys(rng)};
        ASSERT_EQ(floodArea(g.data(), seed), referenceArea(g, seed)) << k;
    }
}

TEST(FloodFill, WindingCorridorIsFilledToItsEnd)
{
    // A serpentine corridor through the whole grid: the worst case for
    // fills that sweep row by row.
    Grid g{};
    for (int y = 1; y < kGridHeight; y += 2)
        for (int x = 0; x < kGridWidth; ++x)
            g[y * kGridWidth + x] = (y / 2) % 2 == 0 ? (x == 63 ? 0 : 1) : (x == 0 ? 0 : 1);
    const GridMask area = floodArea(g.data(), Point{0, 0});
    EXPECT_EQ(area, referenceArea(g, Point{0, 0}));
    // The 40 open rows and the 40 gaps that join them.
    EXPECT_EQ(area.count(), 40 * 64 + 40);
    EXPECT_TRUE(area.test(0, 79));
}

} // namespace
} // namespace tessel

// Flood fill on the 64 x 80 grid: the 4-connected area of cells equal to the
// seed cell (a scanline fill over row bit masks).
#pragma once

#include <cstddef>

#include "raster/grid_mask.h"
#include "raster/point.h"

namespace tessel {

// The 4-connected part of `region` that contains `seed`; empty when the
// seed is off the grid or not in the region.
GridMask connectedArea(const GridMask& region, Point seed);

// `cells` holds 80 rows of 64 cells (row stride 64), compared with ==.
template <class Cell>
GridMask floodArea(const Cell* cells, Point seed)
{
    if (!GridMask::onGrid(seed.x, seed.y)) return {};
    const Cell target = cells[seed.y * kGridWidth + seed.x];
    GridMask same;
    for (int y = 0; y < kGridHeight; ++y) {
        std::uint64_t bits = 0;
        const Cell* row = cells + static_cast<std::ptrdiff_t>(y) * kGridWidth;
        for (int x = 0; x < kGridWidth; ++x)
            bits |= static_cast<std::uint64_t>(row[x] == target) << x;
        same.rows[y] = bits;
    }
    return connectedArea(same, seed);
}

// Calls pixel(x, y) for every pixel of the seed's area.
template <class Cell, class Fn>
void floodFill(const Cell* cells, Point seed, Fn&& pixel)
{
    forEachPixel(floodArea(cells, seed), pixel);
}

} // namespace tessel

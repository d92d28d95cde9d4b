// Straight lines on the 64 x 80 grid.
//
// The one-pixel path runs from `from` (drawn) to `to` (not drawn), one pixel
// per column when the line is flatter than 45 degrees and one per row when
// it is steeper (diagonals take one per column). Along the major axis, step
// i of n lies on the minor coordinate nearest to the exact line, a tie going
// away from the start: minor = start + sign * floor((2 i m + n) / (2 n)),
// with m the minor extent (Bresenham's line, in closed form so that a line
// can be clipped without walking its off-grid part). A wider pen stamps its
// disc at every path pixel (raster/round_pen.h). Clipped to the grid.
#pragma once

#include "raster/grid_mask.h"
#include "raster/point.h"

namespace tessel {

GridMask lineCoverage(Point from, Point to, int penWidth);

// Calls pixel(x, y) for every grid pixel the line covers.
template <class Fn>
void rasterLine(Point from, Point to, int penWidth, Fn&& pixel)
{
    forEachPixel(lineCoverage(from, to, penWidth), pixel);
}

} // namespace tessel

// Rectangles, ellipses and rounded rectangles on the 64 x 80 grid.
//
// Each figure lies in the box spanned by its two corners (given in any
// order) without the box's right column and bottom row; a box with no width
// or no height draws nothing. The figure is a region whose every row is one
// run of pixels:
//   - Rectangle: the whole box.
//   - Ellipse: the pixels whose centre lies inside the ellipse inscribed in
//     the box, together with the middle row(s) and column(s) of the box, so
//     that even a very flat or thin ellipse touches all four sides.
//   - RoundRect: the box with each corner cut to the matching quarter of an
//     ellipse cornerWidth wide and cornerHeight high (each clamped to the
//     box, so a corner as large as the box gives the ellipse, and 0 gives the
//     rectangle).
// The one-pixel outline is the region's pixels with a 4-neighbour outside
// it; the interior is the rest. A wider pen stamps its disc at every outline
// pixel (raster/round_pen.h) and is drawn over the interior, so `interior`
// never includes outline pixels. Clipped to the grid.
#pragma once

#include "raster/grid_mask.h"
#include "raster/point.h"

namespace tessel {

struct FigureCoverage {
    GridMask outline;  // drawn with the pen
    GridMask interior; // drawn with the brush, unless it is hollow
};

FigureCoverage rectangleCoverage(Point a, Point b, int penWidth);
FigureCoverage ellipseCoverage(Point a, Point b, int penWidth);
FigureCoverage roundRectCoverage(Point a, Point b, int penWidth, int cornerWidth, int cornerHeight);

// Pixel callbacks: outline(x, y) and interior(x, y) for every grid pixel.
template <class Outline, class Interior>
void rasterFigure(const FigureCoverage& c, Outline&& outline, Interior&& interior)
{
    forEachPixel(c.outline, outline);
    forEachPixel(c.interior, interior);
}

// The run of row j (0 <= j < height) of the ellipse inscribed in a
// width x height box is [inset, width - inset). Exposed for the tests.
long long ellipseRowInset(long long width, long long height, long long j);

} // namespace tessel

// The solid pen of lines and outlines. A pen of width 0 or 1 (or a negative
// width) draws one pixel. A wider pen is a disc of diameter `width` stamped
// at every pixel of the one-pixel path, which centres it on the path and
// gives round ends and joins. Odd widths are centred on the pixel, even
// widths on its top-left corner, so the stroke is exactly `width` wide:
// pixel p is covered by a stamp at c when
//   (2(p.x - c.x) + e)^2 + (2(p.y - c.y) + e)^2 <= width^2,  e = width even.
#pragma once

#include <vector>

#include "raster/grid_mask.h"

namespace tessel {

class RoundPen {
public:
    explicit RoundPen(int width);

    int width() const { return width_; }
    // No stamp reaches further than this from its centre, in either axis.
    int reach() const { return width_ <= 1 ? 0 : width_ / 2; }

    // Stamps the pen at every centre (x, y) with x0 <= x <= x1.
    void stampRun(GridMask& mask, long long y, long long x0, long long x1) const;

private:
    int width_;
    int vMin_ = 0;
    std::vector<int> uMin_, uMax_; // covered columns of row vMin_ + i, relative to the centre
};

// The pen width to draw with for a figure whose pen centres all lie within
// [left, right] x [top, bottom]. Negative widths draw like 0. From any such
// centre a disc of the returned width already covers the whole grid when
// the request is at least that wide, so every wider request draws the same
// pixels; this keeps typed widths such as 2147483647 fast and overflow-free.
int effectivePenWidth(long long requested, long long left, long long top, long long right,
                      long long bottom);

} // namespace tessel

// Control rectangles of the dialog templates, given in dialog units of the
// 8-point dialog font: a horizontal unit is 6/4 pixels, a vertical unit 13/8.
// Each edge is converted on its own and rounded to the nearest pixel, so
// controls that share an edge in units share it in pixels.
#pragma once

#include <QRect>

namespace tessel {

constexpr int templateX(int units) { return (units * 6 + 2) / 4; }
constexpr int templateY(int units) { return (units * 13 + 4) / 8; }

inline QRect templateRect(int x, int y, int width, int height)
{
    const int left = templateX(x), top = templateY(y);
    return QRect(left, top, templateX(x + width) - left, templateY(y + height) - top);
}

} // namespace tessel

// Dialog layouts are given in dialog units of the 8-point dialog font: one
// horizontal unit is 6/4 pixels and one vertical unit 13/8 pixels. Each edge
// is mapped on its own and rounded to the nearest pixel (halves away from
// zero), so that neighbouring controls that share an edge in units share it
// in pixels too.
#pragma once

#include <QRect>

namespace tessel {

inline int dialogUnitsToPixelsX(int x) { return (x * 6 + 2) / 4; }
inline int dialogUnitsToPixelsY(int y) { return (y * 13 + 4) / 8; }

// The pixel rectangle of a control placed at (x, y) with size (w, h) in units.
inline QRect dialogRect(int x, int y, int w, int h)
{
    const int left = dialogUnitsToPixelsX(x), top = dialogUnitsToPixelsY(y);
    return QRect(left, top, dialogUnitsToPixelsX(x + w) - left, dialogUnitsToPixelsY(y + h) - top);
}

} // namespace tessel

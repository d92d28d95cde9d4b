// The font of the program's windows. Their layouts are measured in units of
// a small 8-point dialog font (about 6 pixels per average character); a
// condensed face at 11 pixels keeps the labels inside their places.
#pragma once

#include <QFont>

namespace tessel {

inline QFont dialogFont(QFont base)
{
    base.setPixelSize(11);
    base.setStretch(QFont::SemiCondensed);
    return base;
}

} // namespace tessel

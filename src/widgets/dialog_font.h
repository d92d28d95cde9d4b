// The font of the program's windows. Their layouts are measured in units of
// a small 8-point dialog font (about 6 pixels per average character); a
// condensed face at 11 pixels keeps the labels inside their places.
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QLabel>

namespace tessel {

inline QFont dialogFont(QFont base)
{
    base.setPixelSize(11);
    base.setStretch(QFont::SemiCondensed);
    return base;
}

// A one-line label whose text is wider than its place in the layout (the
// font's faces differ from the one the layout was measured in): its letters
// are drawn a little closer, and if that is not enough a pixel smaller,
// until the text fits instead of being cut off.
inline void fitLabelText(QLabel* label)
{
    const QString text = label->text();
    if (text.isEmpty() || text.contains(QLatin1Char('\n'))) return;
    const int room = label->contentsRect().width();
    QFont font = label->font();
    auto fits = [&] { return QFontMetrics(font).horizontalAdvance(text) <= room; };
    for (int step = 1; step <= 4 && !fits(); ++step)
        font.setLetterSpacing(QFont::AbsoluteSpacing, -0.25 * step);
    // The font may be given in pixels or in points.
    while (!fits() && font.pixelSize() > 8) font.setPixelSize(font.pixelSize() - 1);
    while (!fits() && font.pixelSize() < 0 && font.pointSizeF() > 6)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    if (font != label->font()) label->setFont(font);
}

} // namespace tessel

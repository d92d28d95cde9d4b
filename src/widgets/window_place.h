// Where a further window (the Large View, the Sprite Overview) sits: its
// place and size kept in the settings file, and its first place beside
// the main window when none was kept.
#pragma once

class QSettings;
class QWidget;

namespace tessel {

// Reads x, y, width and height of the settings' current group into
// `window`. A size is kept within the window's minimum and 8192 x 8192; a
// place on no screen (another monitor, since unplugged) is not taken.
// Returns true when a place was taken.
bool readWindowPlace(const QSettings& settings, QWidget& window);
void writeWindowPlace(QSettings& settings, const QWidget& window);

enum class Side { Left, Right };
// Moves `window` against that side of `owner`'s frame, tops aligned, and
// then only as far back as it must to stay on the owner's screen. With
// `narrowToFit` it is first made narrower (not below its minimum width)
// where the room on that side is too small, so as not to cover the owner.
void placeBeside(QWidget& window, const QWidget& owner, Side side, bool narrowToFit = false);

} // namespace tessel

// The pointer shapes over the sprite, by cursor resource id.
#pragma once

#include <QCursor>

namespace tessel {

// The cursor picture :/cursors/<id>.png with its hot spot; ids::ArrowCursor
// (and an id whose picture is missing) gives the standard arrow.
QCursor toolCursor(int cursorId);

// The hot spot of a cursor picture, (0, 0) for unknown ids.
QPoint cursorHotSpot(int cursorId);

} // namespace tessel

// A sprite at its real size on a black 64 x 80 cell, as the sprite browser
// and the sprite information dialog show it: the pixel store as it is in
// memory (unsaved edits included) in the sprite's own display palette,
// rebuilt at every paint.
#pragma once

#include <QPoint>

#include "model/work_surface.h"

class QPainter;

namespace tessel {

inline constexpr int kCellWidth = kBufferWidth;   // 64
inline constexpr int kCellHeight = kBufferHeight; // 80

// Where the sprite's top-left pixel lands: centred on the cell, halves
// rounded toward zero (a 16 x 24 sprite on the cell at (5, 5) starts at
// (29, 33)).
QPoint thumbnailOrigin(QPoint cellTopLeft, int widthPixels, int heightPixels);

// Fills the cell black and copies the sprite's width x height pixels onto
// it. `sprite` outside 0..1143 (no sprite) leaves just the black cell.
// `surface` is scratch space for the conversion.
void paintSpriteCell(QPainter& painter, const EditorState& state, int sprite,
                     QPoint cellTopLeft, WorkSurface& surface);

} // namespace tessel

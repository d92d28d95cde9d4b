// What the canvas tools do to the current sprite, called by the mouse
// handlers (tools/mouse.h) with client points of the main window.
//
// Pencil: pencil() on the press and on every move with a button held.
// Figures: preparePenAndBrush() -> beginShape() on the press -> dragShape()
// on every move; each step starts again from backupPixels, so the sprite
// always holds exactly one figure and the release has nothing to commit.
// Flood fill: preparePenAndBrush() -> floodFill() on the press.
//
// A figure or a fill writes the pen's or the brush's index into exactly the
// pixels it covers, clipped to the 64 x 80 buffer and then to the sprite;
// every other byte of the sprite is left as it was. With no ROM open or no
// sprite selected none of these touches sprite data.
#pragma once

#include <cstdint>

#include "model/editor_state.h"
#include "raster/grid_mask.h"

namespace tessel {

bool hasEditableSprite(const EditorState& state);

// Sets the pixel under `client` to `index` if it lies inside the sprite.
void pencil(EditorState& state, Point client, int index);

// Pen and brush for the pressed button: the pen takes the button's index
// and the line size typed now; the brush follows the tool and fillMode
// ("Opaque": the button's index, "Transparent": none, "Background": the
// other button's index; the flood fill always uses the button's index).
void preparePenAndBrush(EditorState& state, MouseButton button);

void beginShape(EditorState& state, Point client);
void dragShape(EditorState& state, Point client);

// Fills the 4-connected area of the seed's colour on the work surface (the
// sprite in its display colours, grey around it); the area's pixels inside
// the sprite take the brush index.
void floodFill(EditorState& state, Point client);

// Writes `index` into every pixel of `mask` inside the sprite.
void paintPixels(SpriteRecord& sprite, const GridMask& mask, int index);

} // namespace tessel

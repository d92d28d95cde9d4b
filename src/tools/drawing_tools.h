// What the canvas tools do to the current sprite, called through the tool
// table (selection/tool_table.h) by the mouse handlers (editor/mouse.h)
// with client points of the main window.
//
// Pencil: pencil() on the press and on every move with a button held; with
// joined strokes on, pencilJoined() on the moves instead.
// Figures: preparePenAndBrush() -> beginShape() on the press -> dragShape()
// with the tool's figure function on every move; each step starts again
// from backupPixels, so the sprite always holds exactly one figure and the
// release has nothing to commit.
// Flood fill: preparePenAndBrush() -> floodFill() on the press.
//
// A figure or a fill writes the pen's or the brush's index into exactly the
// pixels it covers, clipped to the 64 x 80 buffer and then to the sprite;
// every other byte of the sprite is left as it was. With no ROM open or no
// sprite selected none of these touches sprite data.
#pragma once

#include <cstdint>

#include "model/editor_state.h"
#include "raster/closed_figures.h"
#include "raster/grid_mask.h"

namespace tessel {

bool hasEditableSprite(const EditorState& state);

// Sets the pixel under `client` to `index` if it lies inside the sprite.
void pencil(EditorState& state, Point client, int index);
// Sets the pixels of the line from the pencil's previous position to the
// one under `client`, both ends included, that lie inside the sprite.
void pencilJoined(EditorState& state, Point client, int index);

// How a tool's brush is chosen at the press.
enum class BrushRule {
    Hollow,       // no interior: the line
    SameAsPen,    // the button's index: the flood fill
    FromFillMode, // "Opaque": the button's index, "Transparent": none,
                  // "Background": the other button's index
};

// Pen and brush for the pressed button: the pen takes the button's index
// and the line size typed now; the brush follows `rule`.
void preparePenAndBrush(EditorState& state, MouseButton button, BrushRule rule);

// What a two-point figure covers between its corners `a` and `b` with a pen
// `penWidth` wide; `options` is asked for any further option at the moment
// of use (the rounded rectangle reads its corner at every step).
using FigureFunction = FigureCoverage (*)(Point a, Point b, int penWidth, EditorView& options);

FigureCoverage lineFigure(Point a, Point b, int penWidth, EditorView& options);
FigureCoverage rectangleFigure(Point a, Point b, int penWidth, EditorView& options);
FigureCoverage ellipseFigure(Point a, Point b, int penWidth, EditorView& options);
FigureCoverage roundRectFigure(Point a, Point b, int penWidth, EditorView& options);

void beginShape(EditorState& state, Point client);
void dragShape(EditorState& state, Point client, FigureFunction figure);

// Fills the 4-connected area of the seed's colour on the work surface (the
// sprite in its display colours, grey around it); the area's pixels inside
// the sprite take the brush index.
void floodFill(EditorState& state, Point client);

// Writes `index` into every pixel of `mask` inside the sprite.
void paintPixels(SpriteRecord& sprite, const GridMask& mask, int index);

} // namespace tessel

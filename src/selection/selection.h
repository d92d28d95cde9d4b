// The selection rectangle and the floating block of the Select tool.
//
// States: None (empty rectangle) -> Banding (left button held after a press
// outside the selection) -> Outlined (normalised rectangle inside the sprite)
// -> Floating (the block lives in floatingPixels, backupPixels holds the
// sprite without it, and the sprite holds the composite of the two).
// Invariant: selectionFloating is never set while selectionRect is empty.
//
// Mouse flow, from the canvas handlers: press -> selectionPress(),
// move with the left button held -> selectionDrag(), release ->
// selectionRelease(), double click -> selectionDoubleClick().
#pragma once

#include "model/editor_state.h"
#include "model/sprite_area.h"

namespace tessel {

// The selection's hit test: lastMousePos divided by the zoom, without taking
// off the canvas margin (the cursor and the press agree on it).
bool pointerInsideSelection(const EditorState& state);

// True when block pixel value v is not stamped (Transparent Selection on and
// its index equals backgroundIndex).
bool isTransparentPixel(const ToolSettings& tools, std::uint8_t v);

// Mouse behaviour of the Select tool (client points).
void selectionPress(EditorState& state, Point client);
void selectionDrag(EditorState& state, Point client);
void selectionRelease(EditorState& state);
void selectionDoubleClick(EditorState& state);

void startRubberBand(EditorState& state, Point client);
void dragRubberBand(EditorState& state, Point client);
void beginSelectionMove(EditorState& state, Point client, bool saveBackup);
void moveSelection(EditorState& state, Point client);
void liftSelection(EditorState& state, bool fromClipboard);

// Stamps the floating block at selectionRect into the sprite (clipped to the
// sprite, transparent pixels skipped) without restoring the background.
void stampFloatingBlock(EditorState& state);

// Puts backupPixels back into the sprite and stamps the floating block over
// it at selectionRect: the composite a move, a flip of the block and the
// Transparent Selection box all rebuild. Does not repaint.
void compositeFloatingBlock(EditorState& state);

// Stamps a floating block where it stands and ends the floating state. Does
// not repaint; callers do.
void commitSelection(EditorState& state);

// Check box 1067: records the state and re-composites a floating block.
void setTransparentSelection(EditorState& state, bool on);

} // namespace tessel

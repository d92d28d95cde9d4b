// The Select tool's mouse behaviour: the rubber band and the presses,
// drags, releases and double clicks that lift, move and drop a block.
#include <algorithm>

#include "selection/selection.h"

namespace tessel {

void selectionPress(EditorState& state, Point client)
{
    if (!state.hasSprite()) return;
    if (pointerInsideSelection(state)) {
        if (state.selection.selectionFloating) {
            beginSelectionMove(state, client, false);
        } else {
            // Lift, then put the block down where it was, so that the
            // sprite holds the composite from the press on.
            beginSelectionMove(state, client, true);
            moveSelection(state, client);
        }
        return;
    }
    if (state.selection.selectionFloating) commitSelection(state);
    state.selection.selectionRect.setEmpty();
    repaintCanvas(state);
    startRubberBand(state, client);
}

void selectionDrag(EditorState& state, Point client)
{
    if (state.selection.selectionFloating)
        moveSelection(state, client);
    else
        dragRubberBand(state, client);
}

void selectionRelease(EditorState& state)
{
    if (!state.selection.selectionFloating) state.selection.selectionRect.normalise();
}

void selectionDoubleClick(EditorState& state)
{
    if (!pointerInsideSelection(state)) return;
    commitSelection(state);
    state.selection.selectionRect.setEmpty();
    repaintCanvas(state);
}

void startRubberBand(EditorState& state, Point client)
{
    if (!state.hasSprite()) return;
    // Presses reach here only on the sprite image; clamping the corner as
    // well keeps an outlined selection inside the sprite whatever the caller.
    const Rect area = spriteArea(state);
    const Point s = toSpritePixel(client);
    const int x = std::clamp(s.x, 0, area.right), y = std::clamp(s.y, 0, area.bottom);
    state.selection.selectionRect = {x, y, x, y};
    repaintCanvas(state);
}

void dragRubberBand(EditorState& state, Point client)
{
    if (!state.hasSprite() || state.selection.selectionFloating) return;
    const Rect area = spriteArea(state);
    const Point s = toSpritePixel(client);
    // The moving corner stops at the sprite's edges; the rectangle may be
    // inverted until the release normalises it.
    state.selection.selectionRect.right = std::clamp(s.x, 0, area.right);
    state.selection.selectionRect.bottom = std::clamp(s.y, 0, area.bottom);
    repaintCanvas(state);
}

} // namespace tessel

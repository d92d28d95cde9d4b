#include "tools/undo.h"

#include <algorithm>

#include "model/edit_marks.h"

namespace tessel {

void pushUndoSnapshot(EditorState& state)
{
    setCommandEnabled(state, ids::Undo, true);
    if (!state.hasSprite()) return;
    auto& levels = state.undo.levels;
    levels[2] = levels[1];
    levels[1] = levels[0];
    levels[0] = state.current().pixels;
    state.undo.top = std::min(state.undo.top + 1, 2);
    markSpriteEdited(state.document, state.currentSprite);
}

void resetUndo(EditorState& state)
{
    state.undo.top = -1;
    setCommandEnabled(state, ids::Undo, false);
}

void undo(EditorState& state)
{
    if (state.undo.top < 0 || !state.hasSprite()) return;
    if (state.tools.currentTool == ToolId::Select) {
        // A floating block is dropped, not stamped: the snapshot already
        // holds the sprite as it was before the lift or paste.
        state.selection.selectionRect.setEmpty();
        state.selection.selectionFloating = false;
    }
    auto& levels = state.undo.levels;
    state.current().pixels = levels[0];
    markSpriteEdited(state.document, state.currentSprite);
    repaintCanvas(state);
    levels[0] = levels[1];
    levels[1] = levels[2];
    if (--state.undo.top < 0) setCommandEnabled(state, ids::Undo, false);
}

} // namespace tessel

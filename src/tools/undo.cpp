#include "tools/undo.h"

#include <algorithm>

#include "model/edit_marks.h"
#include "tools/history.h"

namespace tessel {

namespace {

// Level 0 takes `pixels`; the oldest of three is lost. Returns the new top.
std::int32_t pushLevel(std::array<PixelBuffer, 3>& levels, std::int32_t top, const PixelBuffer& pixels)
{
    levels[2] = levels[1];
    levels[1] = levels[0];
    levels[0] = pixels;
    return std::min(top + 1, 2);
}

// Level 0 is taken out into `pixels`. Returns the new top.
std::int32_t popLevel(std::array<PixelBuffer, 3>& levels, std::int32_t top, PixelBuffer& pixels)
{
    pixels = levels[0];
    levels[0] = levels[1];
    levels[1] = levels[2];
    return top - 1;
}

void dropFloatingBlockUnderSelect(EditorState& state)
{
    if (state.tools.currentTool != ToolId::Select) return;
    // A floating block is dropped, not stamped: the level taken back holds
    // the sprite as it was before the lift or paste.
    state.selection.selectionRect.setEmpty();
    state.selection.selectionFloating = false;
}

} // namespace

void pushUndoSnapshot(EditorState& state) { pushUndoSnapshot(state, causeOfTool(state.tools.currentTool)); }

void pushUndoSnapshot(EditorState& state, EditCause cause)
{
    setCommandEnabled(state, ids::Undo, true);
    if (!state.hasSprite()) return;
    beginJournalEdit(state, cause);
    dropRedo(state);
    state.undo.top = pushLevel(state.undo.levels, state.undo.top, state.current().pixels);
    markSpriteEdited(state.document, state.currentSprite);
}

void resetUndo(EditorState& state)
{
    state.undo.top = -1;
    setCommandEnabled(state, ids::Undo, false);
    dropRedo(state);
}

void dropRedo(EditorState& state)
{
    state.undo.redoTop = -1;
    setCommandEnabled(state, ids::Redo, false);
}

void undo(EditorState& state)
{
    if (state.undo.top < 0 || !state.hasSprite()) return;
    settleJournal(state); // the edit being taken back is part of the history
    dropFloatingBlockUnderSelect(state);
    PixelBuffer& pixels = state.current().pixels;
    state.undo.redoTop = pushLevel(state.undo.redoLevels, state.undo.redoTop, pixels);
    setCommandEnabled(state, ids::Redo, true);
    state.undo.top = popLevel(state.undo.levels, state.undo.top, pixels);
    markSpriteEdited(state.document, state.currentSprite);
    repaintCanvas(state);
    if (state.undo.top < 0) setCommandEnabled(state, ids::Undo, false);
}

void redo(EditorState& state)
{
    if (state.undo.redoTop < 0 || !state.hasSprite()) return;
    settleJournal(state);
    dropFloatingBlockUnderSelect(state);
    PixelBuffer& pixels = state.current().pixels;
    state.undo.top = pushLevel(state.undo.levels, state.undo.top, pixels);
    setCommandEnabled(state, ids::Undo, true);
    state.undo.redoTop = popLevel(state.undo.redoLevels, state.undo.redoTop, pixels);
    markSpriteEdited(state.document, state.currentSprite);
    repaintCanvas(state);
    if (state.undo.redoTop < 0) setCommandEnabled(state, ids::Redo, false);
}

} // namespace tessel

#include "selection/clipboard.h"

#include <algorithm>

#include "selection/selection.h"
#include "selection/tool_choice.h"
#include "tools/undo.h"

namespace tessel {
namespace {

// The common first half of Copy and Cut: the selection's pixels, or the
// whole store (also beyond the sprite) when there is no selection.
void clip(EditorState& state)
{
    const Rect& r = state.selection.selectionRect;
    if (r.isEmpty()) {
        state.clipboard.clipboardPixels = state.current().pixels;
        state.clipboard.clipboardRect.setEmpty();
        return;
    }
    // A floating block is taken whole, also where it hangs off the sprite.
    Rect src{0, 0, std::min(r.width(), kBufferWidth), std::min(r.height(), kBufferHeight)};
    const std::uint8_t* from = state.selection.floatingPixels.data();
    if (!state.selection.selectionFloating) {
        src = clipToSprite(state, r);
        if (src.isEmpty()) return;
        from = state.current().pixels.data();
    }
    copyRows(from, src.left, src.top, state.clipboard.clipboardPixels.data(), src.width(), src.height());
    state.clipboard.clipboardRect = {0, 0, src.width(), src.height()};
}

// Delete, and the second half of Cut: the history names the command.
void eraseSelection(EditorState& state, EditCause cause)
{
    if (!state.hasSprite()) return;
    PixelBuffer& pixels = state.current().pixels;
    const auto fill = static_cast<std::uint8_t>(state.tools.backgroundIndex & 15);
    Rect& r = state.selection.selectionRect;
    if (r.isEmpty()) {
        pushUndoSnapshot(state, cause);
        pixels.fill(fill);
    } else if (state.selection.selectionFloating) {
        // No snapshot: the one taken by the lift or the paste still holds
        // the sprite as it was before the block came up.
        pixels = state.gesture.backupPixels;
        state.selection.selectionFloating = false;
    } else {
        pushUndoSnapshot(state, cause);
        const Rect hole = clipToSprite(state, r);
        for (int y = hole.top; y < hole.bottom; ++y)
            std::fill_n(pixels.begin() + y * kBufferWidth + hole.left, hole.width(), fill);
    }
    r.setEmpty();
    repaintCanvas(state);
}

} // namespace

void copySelection(EditorState& state)
{
    if (!state.hasSprite()) return;
    clip(state);
    setCommandEnabled(state, ids::Paste, true);
}

void cutSelection(EditorState& state)
{
    if (!state.hasSprite()) return;
    pushUndoSnapshot(state, EditCause::Cut);
    clip(state);
    eraseSelection(state, EditCause::Cut);
    repaintCanvas(state);
    setCommandEnabled(state, ids::Paste, true);
}

void deleteSelection(EditorState& state) { eraseSelection(state, EditCause::Delete); }

void pasteClipboard(EditorState& state)
{
    if (!state.hasSprite()) return;
    selectTool(state, ToolId::Select); // drops a floating block where it stands
    pushUndoSnapshot(state, EditCause::Paste);
    if (state.clipboard.clipboardRect.isEmpty()) {
        state.current().pixels = state.clipboard.clipboardPixels;
        repaintCanvas(state);
        return;
    }
    // The block floats at the top-left corner; client (0, 0) is sprite
    // pixel (0, 0), so the drag offset is zero.
    liftSelection(state, true);
    beginSelectionMove(state, {0, 0}, true);
    moveSelection(state, {0, 0});
}

} // namespace tessel

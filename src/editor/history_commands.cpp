#include "editor/history_commands.h"

#include <algorithm>

#include "model/edit_marks.h"
#include "selection/selection.h"
#include "tools/drawing_tools.h"
#include "tools/history.h"
#include "tools/undo.h"

namespace tessel {

std::vector<const JournalState*> historyStates(EditorState& state)
{
    if (!hasEditableSprite(state)) return {};
    settleJournal(state);
    noteJournalBaseline(state, state.currentSprite);
    return state.journal.statesOf(state.currentSprite);
}

bool restoreHistoryState(EditorState& state, std::uint64_t id)
{
    if (!hasEditableSprite(state)) return false;
    const JournalState* chosen = state.journal.find(id);
    if (!chosen || chosen->sprite != state.currentSprite) return false;
    // Copied first: the snapshot's settling may drop the chosen state.
    const JournalState restored = *chosen;
    if (state.selection.selectionFloating) commitSelection(state);
    state.selection.selectionRect.setEmpty();
    pushUndoSnapshot(state, EditCause::Restore);
    PixelBuffer& pixels = state.current().pixels;
    const int w = std::min(restored.width, kBufferWidth), h = std::min(restored.height, kBufferHeight);
    for (int y = 0; y < h; ++y)
        std::copy_n(restored.pixels.begin() + y * restored.width, w, pixels.begin() + y * kBufferWidth);
    settleJournal(state);
    repaintCanvas(state);
    noteEditEnded(state.document);
    return true;
}

} // namespace tessel

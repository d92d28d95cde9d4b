// What editing tells the history journal (model/sprite_journal.h), in the
// order an edit runs:
//   pushUndoSnapshot(cause) -> beginJournalEdit(): a sprite's first edit
//     records its pixels before it, "as loaded", and the edit is noted;
//   the tool, command or import changes the pixels;
//   settleJournal(), at the next snapshot, Undo, Redo, choice of a sprite,
//     Refresh, import, Restore or look at the history, records the pixels
//     as the noted edit left them.
// Imports of sprites not shown record theirs directly (recordJournalState).
#pragma once

#include "model/editor_state.h"

namespace tessel {

// What an edit with the tool is called in the history.
EditCause causeOfTool(ToolId tool);

void beginJournalEdit(EditorState& state, EditCause cause);
void settleJournal(EditorState& state);

// Records `sprite`'s pixels now, made by `cause`.
void recordJournalState(EditorState& state, int sprite, EditCause cause);
// Records `sprite`'s pixels "as loaded" unless the journal has a state of it.
void noteJournalBaseline(EditorState& state, int sprite);

} // namespace tessel

// Three levels of undo for the current sprite's pixels, and Redo of what
// the undos since the last edit took back.
//
// pushUndoSnapshot() runs before every edit (it empties Redo and tells the
// history journal, tools/history.h, what the edit is); undo() puts the most
// recent snapshot back and keeps what it replaced for redo(); redo() takes
// the last undo back and keeps the replaced pixels on the undo stack.
// resetUndo() runs on every sprite selection and empties both. The Undo
// and Redo menu items are enabled while their stack holds something.
#pragma once

#include "model/editor_state.h"

namespace tessel {

// The cause is what the history calls the edit; without one, the current
// tool's (tools/history.h).
void pushUndoSnapshot(EditorState& state);
void pushUndoSnapshot(EditorState& state, EditCause cause);
void resetUndo(EditorState& state);
void undo(EditorState& state);
void redo(EditorState& state);
// Redo is given up when the pixels change other than by an edit (Refresh).
void dropRedo(EditorState& state);

} // namespace tessel

// Three levels of undo for the current sprite's pixels.
//
// pushUndoSnapshot() runs before every edit; undo() puts the most recent
// snapshot back; resetUndo() runs on every sprite selection. The Undo menu
// item is enabled by a push and grayed when the stack runs empty.
#pragma once

#include "model/editor_state.h"

namespace tessel {

void pushUndoSnapshot(EditorState& state);
void resetUndo(EditorState& state);
void undo(EditorState& state);

} // namespace tessel

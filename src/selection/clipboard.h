// Cut, Copy, Paste and Delete through the program's own clipboard. Each acts
// on the selection (outlined or floating) when there is one, else on the
// whole sprite. Copy and Cut enable Paste.
#pragma once

#include "model/editor_state.h"

namespace tessel {

void copySelection(EditorState& state);
void cutSelection(EditorState& state);
void pasteClipboard(EditorState& state);
void deleteSelection(EditorState& state);

} // namespace tessel

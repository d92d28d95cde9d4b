// Choosing a tool, and the cursor over the sprite. Both live beside the
// selection: a new tool puts a floating block down, and the Select tool's
// cursor depends on whether the pointer is inside the selection.
#pragma once

#include "model/editor_state.h"

namespace tessel {

// Makes `tool` current: a floating block is stamped first, the selection
// rectangle is emptied, and the view shows the tool's option controls. A
// value that is none of the eight tools changes nothing.
void selectTool(EditorState& state, ToolId tool);

// The cursor resource id for the pointer at lastMousePos, or
// ids::ArrowCursor when the pointer is not over the sprite.
int cursorFor(const EditorState& state);

} // namespace tessel

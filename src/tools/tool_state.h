// Tool selection, the option controls each tool shows, and the cursor over
// the sprite.
#pragma once

#include "editor/editor_state.h"

namespace tessel {

// Makes `tool` current: a floating block is stamped first, the selection
// rectangle is emptied, and the view shows the tool's option controls. A
// value that is none of the eight tools changes nothing.
void selectTool(EditorState& state, ToolId tool);

struct OptionControls {
    bool lineSize = false;    // 1068, 1039, 1040
    bool fill = false;        // 1069, 1041
    bool curveRadius = false; // 1070, 1044, 1045
    bool transparent = false; // 1067
};
OptionControls optionControlsFor(ToolId tool);

// The cursor resource id for the pointer at lastMousePos, or
// ids::ArrowCursor when the pointer is not over the sprite.
int cursorFor(const EditorState& state);

// Tool button id <-> tool.
int buttonIdOf(ToolId tool);
bool toolOfButton(int buttonId, ToolId& tool);

} // namespace tessel

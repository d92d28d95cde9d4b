// The option controls each tool shows, and the tool buttons' ids.
#pragma once

#include "model/editor_state.h"

namespace tessel {

struct OptionControls {
    bool lineSize = false;    // 1068, 1039, 1040
    bool fill = false;        // 1069, 1041
    bool curveRadius = false; // 1070, 1044, 1045
    bool transparent = false; // 1067
};
OptionControls optionControlsFor(ToolId tool);

// True for the eight tools; any other value of ToolId is none of them.
bool isKnownTool(ToolId tool);

// Tool button id <-> tool.
int buttonIdOf(ToolId tool);
bool toolOfButton(int buttonId, ToolId& tool);

} // namespace tessel

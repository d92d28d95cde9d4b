// One entry per tool: what its press, drag, release and double click do,
// the figure it draws, its cursor, its button and the option controls it
// shows. The mouse handlers (editor/mouse.h), the cursor and tool choice
// (selection/tool_choice.h), Shift (editor/key_routing.h) and the main
// window's tool buttons all read the tool from here, and nowhere else.
//
// The table sits with the selection because it is the lowest folder that
// sees every tool: the Select tool's behaviour lives here, the others' in
// tools/.
//
// Mouse flow for the current tool's entry, from editor/mouse.h:
//   press (either button; after the undo snapshot) -> drag (on every move
//   with a button held) -> release (each button, with an editable sprite);
//   doubleClick on a left double click with an editable sprite.
#pragma once

#include "model/editor_state.h"
#include "tools/drawing_tools.h"

namespace tessel {

struct OptionControls {
    bool lineSize = false;    // 1068, 1039, 1040
    bool fill = false;        // 1069, 1041
    bool curveRadius = false; // 1070, 1044, 1045
    bool transparent = false; // 1067
};

struct ToolEntry {
    ToolId tool;
    int buttonId = 0;
    int cursorId = 0; // over the sprite, unless cursorOver decides
    OptionControls options{};
    // The two-point figures' coverage, and the brush of the figures and the fill.
    FigureFunction figure = nullptr;
    BrushRule brush = BrushRule::Hollow;
    // False for the Select tool, whose operations take their own snapshots.
    bool snapshotOnLeftPress = true;
    // True for the tool that stays current when Shift is pressed, instead of
    // handing over to the colour picker until Shift is released.
    bool staysUnderShift = false;
    // Each may be null: the tool does nothing then.
    void (*press)(EditorState& state, const ToolEntry& self, Point client,
                  MouseButton button) = nullptr;
    void (*drag)(EditorState& state, const ToolEntry& self, Point client,
                 MouseButton held) = nullptr;
    void (*release)(EditorState& state, MouseButton button) = nullptr;
    void (*doubleClick)(EditorState& state) = nullptr;
    int (*cursorOver)(const EditorState& state) = nullptr;
};

inline constexpr int kToolCount = static_cast<int>(ToolId::ColourPicker) + 1;

// The entry of `tool`; a value that is none of the tools gets an entry that
// does nothing, shows no option controls and has the arrow cursor.
const ToolEntry& toolEntry(ToolId tool);

// True for the tools in the table; any other value of ToolId is none of them.
bool isKnownTool(ToolId tool);

// Tool button id <-> tool.
int buttonIdOf(ToolId tool);
bool toolOfButton(int buttonId, ToolId& tool);

} // namespace tessel

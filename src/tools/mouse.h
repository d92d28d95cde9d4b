// The main window's mouse handlers, in client pixels of the main window.
// The window forwards its mouse events here and grabs the mouse between a
// press and its release; these functions do the rest (canvas test, undo
// snapshot, the tool's action, repaint).
#pragma once

#include "editor/editor_state.h"

namespace tessel {

void onLeftButtonDown(EditorState& state, Point client);
void onRightButtonDown(EditorState& state, Point client);
void onMouseMove(EditorState& state, Point client);
void onLeftButtonUp(EditorState& state);
void onRightButtonUp(EditorState& state);
void onLeftButtonDoubleClick(EditorState& state, Point client);

// True when a left press at `client` lands on the current sprite's image.
bool inCanvas(const EditorState& state, Point client);

} // namespace tessel

// The main window's mouse handlers, in client pixels of the main window.
// The window forwards its mouse events here and grabs the mouse between a
// press and its release; these functions do the rest (canvas test, undo
// snapshot, then the current tool's entry in selection/tool_table.h).
//
// Press -> any number of moves -> release, per button; a press of the other
// button takes the drag over. A double click arrives after a press and a
// release and only the Select tool acts on it. With no ROM open or no
// sprite selected the handlers record the pointer and hide the browser, and
// touch nothing else (no snapshot, no sprite data).
#pragma once

#include "model/editor_state.h"

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

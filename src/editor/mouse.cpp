#include "editor/mouse.h"
#include "model/edit_marks.h"

#include "selection/tool_table.h"
#include "tools/drawing_tools.h"
#include "tools/undo.h"

namespace tessel {

namespace {

// The press shared by both buttons, after its snapshot.
void pressTool(EditorState& state, const ToolEntry& tool, Point client, MouseButton button)
{
    state.gesture.shapeDragSprite = -1; // a figure press begins a new one
    if (tool.press) tool.press(state, tool, client, button);
}

void releaseTool(EditorState& state, MouseButton button)
{
    const ToolEntry& tool = toolEntry(state.tools.currentTool);
    if (tool.release && hasEditableSprite(state)) tool.release(state, button);
    noteEditEnded(state.document);
}

} // namespace

bool inCanvas(const EditorState& state, Point client)
{
    if (!hasEditableSprite(state)) return false;
    const SpriteRecord& sprite = state.current();
    const long long right = static_cast<long long>(sprite.widthPixels()) * kZoom + kCanvasMargin;
    const long long bottom = static_cast<long long>(sprite.heightPixels()) * kZoom + kCanvasMargin;
    return client.x >= kCanvasMargin && client.x < right && client.y >= kCanvasMargin &&
           client.y < bottom;
}

void onLeftButtonDown(EditorState& state, Point client)
{
    viewOf(state).hideBrowser(); // every left press, on the canvas or not
    if (!inCanvas(state, client)) return;
    const ToolEntry& tool = toolEntry(state.tools.currentTool);
    if (tool.snapshotOnLeftPress) pushUndoSnapshot(state);
    state.gesture.leftDragging = true;
    state.gesture.rightDragging = false;
    pressTool(state, tool, client, MouseButton::Left);
}

void onRightButtonDown(EditorState& state, Point client)
{
    // Anywhere in the client area, with every tool (Select included), but
    // never without a sprite to take a snapshot of.
    if (!hasEditableSprite(state)) return;
    pushUndoSnapshot(state);
    state.gesture.rightDragging = true;
    state.gesture.leftDragging = false;
    pressTool(state, toolEntry(state.tools.currentTool), client, MouseButton::Right);
}

void onMouseMove(EditorState& state, Point client)
{
    state.gesture.lastMousePos = client; // the cursor and the selection read it
    if (!hasEditableSprite(state) || !(state.gesture.leftDragging || state.gesture.rightDragging)) return;
    const ToolEntry& tool = toolEntry(state.tools.currentTool);
    if (tool.drag)
        tool.drag(state, tool, client, state.gesture.leftDragging ? MouseButton::Left : MouseButton::Right);
}

void onLeftButtonUp(EditorState& state)
{
    state.gesture.leftDragging = false;
    if (!state.gesture.rightDragging) state.gesture.shapeDragSprite = -1;
    releaseTool(state, MouseButton::Left);
}

void onRightButtonUp(EditorState& state)
{
    state.gesture.rightDragging = false;
    if (!state.gesture.leftDragging) state.gesture.shapeDragSprite = -1;
    releaseTool(state, MouseButton::Right);
}

void onLeftButtonDoubleClick(EditorState& state, Point)
{
    // The second press of a double click arrives only here: no tool draws
    // or takes a snapshot for it.
    const ToolEntry& tool = toolEntry(state.tools.currentTool);
    if (tool.doubleClick && hasEditableSprite(state)) tool.doubleClick(state);
}

} // namespace tessel

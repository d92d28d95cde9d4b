#include "editor/mouse.h"
#include "model/edit_marks.h"

#include "selection/selection.h"
#include "tools/colours.h"
#include "tools/drawing_tools.h"
#include "tools/undo.h"

namespace tessel {

namespace {

bool isShapeTool(ToolId tool)
{
    return tool == ToolId::Line || tool == ToolId::Rectangle || tool == ToolId::Ellipse ||
           tool == ToolId::RoundedRectangle;
}

// The press action shared by both buttons; the Select tool's left press is
// handled by the selection itself.
void pressTool(EditorState& state, Point client, MouseButton button)
{
    const bool left = button == MouseButton::Left;
    const ToolId tool = state.tools.currentTool;
    state.gesture.shapeDragSprite = -1; // a figure press below begins a new one
    if (tool == ToolId::Pencil) {
        pencil(state, client, left ? state.tools.foregroundIndex : state.tools.backgroundIndex);
    } else if (tool == ToolId::FloodFill) {
        preparePenAndBrush(state, button);
        floodFill(state, client);
    } else if (isShapeTool(tool)) {
        preparePenAndBrush(state, button);
        beginShape(state, client);
    } else if (tool == ToolId::ColourPicker) {
        pickColour(state, client, left ? ColourSlot::Foreground : ColourSlot::Background);
    }
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
    if (state.tools.currentTool != ToolId::Select) pushUndoSnapshot(state);
    state.gesture.leftDragging = true;
    state.gesture.rightDragging = false;
    if (state.tools.currentTool == ToolId::Select) {
        state.gesture.shapeDragSprite = -1;
        selectionPress(state, client);
    } else {
        pressTool(state, client, MouseButton::Left);
    }
}

void onRightButtonDown(EditorState& state, Point client)
{
    // Anywhere in the client area, with every tool (Select included), but
    // never without a sprite to take a snapshot of.
    if (!hasEditableSprite(state)) return;
    pushUndoSnapshot(state);
    state.gesture.rightDragging = true;
    state.gesture.leftDragging = false;
    if (state.tools.currentTool == ToolId::Select)
        state.gesture.shapeDragSprite = -1;
    else
        pressTool(state, client, MouseButton::Right);
}

void onMouseMove(EditorState& state, Point client)
{
    state.gesture.lastMousePos = client; // the cursor and the selection read it
    if (!hasEditableSprite(state)) return;
    const ToolId tool = state.tools.currentTool;
    if (tool == ToolId::Pencil) {
        if (state.gesture.leftDragging)
            pencil(state, client, state.tools.foregroundIndex);
        else if (state.gesture.rightDragging)
            pencil(state, client, state.tools.backgroundIndex);
    } else if (isShapeTool(tool)) {
        if (state.gesture.leftDragging || state.gesture.rightDragging) dragShape(state, client);
    } else if (tool == ToolId::Select) {
        if (state.gesture.leftDragging) selectionDrag(state, client);
    } else if (tool == ToolId::ColourPicker) {
        if (state.gesture.leftDragging)
            pickColour(state, client, ColourSlot::Foreground);
        else if (state.gesture.rightDragging)
            pickColour(state, client, ColourSlot::Background);
    }
}

void onLeftButtonUp(EditorState& state)
{
    state.gesture.leftDragging = false;
    if (!state.gesture.rightDragging) state.gesture.shapeDragSprite = -1;
    if (state.tools.currentTool == ToolId::Select && hasEditableSprite(state)) selectionRelease(state);
    noteEditEnded(state.document);
}

void onRightButtonUp(EditorState& state)
{
    state.gesture.rightDragging = false;
    if (!state.gesture.leftDragging) state.gesture.shapeDragSprite = -1;
    noteEditEnded(state.document);
}

void onLeftButtonDoubleClick(EditorState& state, Point)
{
    // The second press of a double click arrives only here: other tools
    // neither draw nor take a snapshot for it.
    if (state.tools.currentTool == ToolId::Select && hasEditableSprite(state))
        selectionDoubleClick(state);
}

} // namespace tessel

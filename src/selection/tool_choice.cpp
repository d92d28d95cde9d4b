#include "selection/tool_choice.h"

#include "model/command_ids.h"
#include "selection/selection.h"
#include "selection/tool_table.h"

namespace tessel {

void selectTool(EditorState& state, ToolId tool)
{
    // A value outside the eight tools would leave every handler without a
    // tool to run; it is refused rather than stored.
    if (!isKnownTool(tool)) return;
    state.tools.currentTool = tool;
    // The canvas outlines any rectangle that is not all zero, an inverted
    // one included; once it is gone the outline must go from the screen too.
    const bool outlined = state.selection.selectionRect != Rect{};
    if (state.selection.selectionFloating) commitSelection(state);
    state.selection.selectionRect.setEmpty();
    viewOf(state).toolChanged();
    if (outlined) viewOf(state).repaintCanvas();
}

int cursorFor(const EditorState& state)
{
    if (!hasEditableSprite(state)) return ids::ArrowCursor;
    const SpriteRecord& sprite = state.current();
    const Point p = state.gesture.lastMousePos;
    // Strict bounds on the raw client position: x = 1 already shows the
    // tool's cursor although a press there misses the canvas.
    const long long right = static_cast<long long>(sprite.widthPixels()) * kZoom + kCanvasMargin;
    const long long bottom = static_cast<long long>(sprite.heightPixels()) * kZoom + kCanvasMargin;
    if (!(p.x > 0 && p.x < right && p.y > 0 && p.y < bottom)) return ids::ArrowCursor;
    const ToolEntry& tool = toolEntry(state.tools.currentTool);
    return tool.cursorOver ? tool.cursorOver(state) : tool.cursorId;
}

} // namespace tessel

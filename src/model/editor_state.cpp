#include "model/editor_state.h"

namespace tessel {

EditorView& viewOf(EditorState& state)
{
    static NullView nullView;
    return state.window.view ? *state.window.view : nullView;
}

void setCommandEnabled(EditorState& state, int commandId, bool enabled)
{
    if (state.window.commands.setEnabled(commandId, enabled)) viewOf(state).commandsChanged();
}

void repaintCanvas(EditorState& state) { viewOf(state).repaintCanvas(); }

void ViewRelay::editMarksChanged() { viewOf(state_).editMarksChanged(); }

} // namespace tessel

#include "model/editor_state.h"

namespace tessel {

EditorView& viewOf(EditorState& state)
{
    static NullView nullView;
    return state.view ? *state.view : nullView;
}

void setCommandEnabled(EditorState& state, int commandId, bool enabled)
{
    if (state.commands.setEnabled(commandId, enabled)) viewOf(state).commandsChanged();
}

void repaintCanvas(EditorState& state) { viewOf(state).repaintCanvas(); }

} // namespace tessel

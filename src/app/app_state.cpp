#include "app/app_state.h"

namespace tessel {

EditorState& appState()
{
    // Several megabytes of sprite store: static storage, never the stack.
    static EditorState state;
    return state;
}

} // namespace tessel

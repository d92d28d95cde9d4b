// The program's one editor state, in static storage for the life of the
// process. Only main() uses it; tests give each window a state of its own.
#pragma once

#include "model/editor_state.h"

namespace tessel {

EditorState& appState();

} // namespace tessel

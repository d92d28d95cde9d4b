// The two drawing colours: foregroundIndex (left button) and
// backgroundIndex (right button), and their indicators in the main window.
#pragma once

#include "editor/editor_state.h"

namespace tessel {

enum class ColourSlot { Foreground = 0, Background = 1 };

// Makes `index` the foreground or background colour and shows its colour
// in the current palette on the matching indicator.
void setIndicatorColour(EditorState& state, int index, ColourSlot which);

} // namespace tessel

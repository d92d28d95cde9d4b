// The two drawing colours: foregroundIndex (left button) and
// backgroundIndex (right button), and their indicators in the main window.
#pragma once

#include "model/editor_state.h"

namespace tessel {

enum class ColourSlot { Foreground = 0, Background = 1 };

// Makes `index` the foreground or background colour and shows its colour
// in the current palette on the matching indicator.
void setIndicatorColour(EditorState& state, int index, ColourSlot which);

// The colour picker: takes the index stored in the sprite pixel under
// `client` (not its colour, so entries of equal colour stay apart). Points
// outside the sprite pick nothing.
void pickColour(EditorState& state, Point client, ColourSlot which);

} // namespace tessel

// Horizontal and vertical mirroring of the whole sprite, an outlined
// rectangle or a floating block.
#pragma once

#include "model/editor_state.h"

namespace tessel {

void flipHorizontal(EditorState& state);
void flipVertical(EditorState& state);

} // namespace tessel

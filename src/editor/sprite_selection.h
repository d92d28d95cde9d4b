// Choosing the current sprite: selectSprite() and its front ends (the
// previous and next buttons and the sprite number edit).
//
// selectSprite(n): currentSprite = n -> undo reset -> number edit written
// (guarded by spriteEditSync) -> selection ended -> palette loaded into the
// swatches and indicators -> canvas repainted. n = -1 selects no sprite.
#pragma once

#include <string_view>

#include "model/editor_state.h"

namespace tessel {

void selectSprite(EditorState& state, int n);
void loadSpritePalette(EditorState& state);
void previousSprite(EditorState& state);
void nextSprite(EditorState& state);

// The sprite number edit's text changed to `text`.
void spriteNumberEdited(EditorState& state, std::string_view text);

// Reads text as a signed decimal number; text that is empty or not a number
// gives 0 (as a dialog's integer field reads), and so does a number beyond
// the 32-bit range.
int parseDialogInt(std::string_view text);

} // namespace tessel

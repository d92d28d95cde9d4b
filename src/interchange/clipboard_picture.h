// Pictures through the system clipboard: Copy as Image puts the selection
// (or the whole sprite) there as a palette PNG; Paste Image takes any
// picture of at most 64 x 80 pixels back as colour indices of the current
// sprite's palette and floats it at the top-left, as Paste does.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "file/outcome.h"
#include "model/editor_state.h"

namespace tessel {

// A floating block's pixels (the selection taken whole) or the outlined
// part of the sprite, else the whole sprite, as sprite_png.h writes it.
Outcome<std::vector<std::uint8_t>> copyAsPicture(const EditorState& state);

struct PictureBlock {
    int width = 0, height = 0;
    PixelBuffer pixels{}; // 64 a row, from the top-left
};

// Taken as a sprite picture is (importSpritePng): index for index when the
// picture's palette names the sprite's colours, else matched by colour
// against `raw` (colour_mapping.h).
// Refused: a picture larger than 64 x 80, and one with unmatched pixels.
Outcome<PictureBlock> pictureAsBlock(std::span<const std::uint8_t> png, const RawPalette& raw);

// Floats `block` at the top-left of the current sprite as Paste floats the
// program's own clipboard (one undo snapshot; the sprite is marked edited),
// which is left as it was.
void pasteBlock(EditorState& state, const PictureBlock& block);

} // namespace tessel

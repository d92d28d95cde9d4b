// Where the current sprite lies: the client-to-pixel mapping of the canvas,
// the sprite's area in its pixel store, and row copies between stores.
#pragma once

#include <cstdint>

#include "model/editor_state.h"

namespace tessel {

// Client point of the main window -> sprite pixel, truncating toward zero.
Point toSpritePixel(Point client);

// (0, 0, W, H) of the current sprite, never larger than the 64 x 80 store;
// all zero when no sprite is selected.
Rect spriteArea(const EditorState& state);

// The part of r that lies on the current sprite (empty when none does). An
// outlined selection always lies on the sprite; reads and writes through it
// go through this anyway, so that no rectangle can steer them elsewhere.
Rect clipToSprite(const EditorState& state, Rect r);

// Copies the w x h block at (srcLeft, srcTop) of one pixel store to the
// top-left corner of another; both have the store's 64-byte row stride.
void copyRows(const std::uint8_t* src, int srcLeft, int srcTop, std::uint8_t* dst, int w, int h);

} // namespace tessel

// The current sprite as display colours on the 64 x 80 work surface: the
// sprite's pixels in currentDisplayPalette inside W x H, grey elsewhere.
// The canvas magnifies it and the flood fill finds its areas on it.
#pragma once

#include <array>

#include "model/editor_state.h"

namespace tessel {

inline constexpr Rgb kCanvasGrey{127, 127, 127};
using WorkSurface = std::array<Rgb, kBufferSize>;

// Renders `pixels` laid out as sprite `record` in `palette`. With no sprite
// selected the whole surface is grey.
void renderWorkSurface(const EditorState& state, WorkSurface& out);
void renderPixels(const PixelBuffer& pixels, int widthPixels, int heightPixels,
                  const DisplayPalette& palette, WorkSurface& out);

} // namespace tessel

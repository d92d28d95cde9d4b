#include "selection/flip.h"

#include <algorithm>

#include "selection/selection.h"
#include "tools/undo.h"

namespace tessel {
namespace {

enum class Axis { Horizontal, Vertical };

// Mirrors the region (x0, y0, w, h) of a 64-byte-stride buffer in place.
// Swapping pairs gives the same result as mirroring into a scratch buffer
// and copying back, without the extra pass.
void mirror(std::uint8_t* buffer, Rect region, Axis axis)
{
    const int w = region.width(), h = region.height();
    if (w <= 0 || h <= 0) return;
    std::uint8_t* first = buffer + region.top * kBufferWidth + region.left;
    if (axis == Axis::Horizontal) {
        for (int j = 0; j < h; ++j) std::reverse(first + j * kBufferWidth, first + j * kBufferWidth + w);
        return;
    }
    for (int j = 0; j < h / 2; ++j)
        std::swap_ranges(first + j * kBufferWidth, first + j * kBufferWidth + w,
                         first + (h - 1 - j) * kBufferWidth);
}

void flip(EditorState& state, Axis axis)
{
    if (!state.hasSprite()) return;
    const Rect& r = state.selection.selectionRect;
    if (state.selection.selectionFloating) {
        // The block is mirrored whole, also its hidden part, and put back
        // over the saved background exactly as a move does, so the sprite
        // under transparent block pixels keeps its own pixels.
        mirror(state.selection.floatingPixels.data(),
               {0, 0, std::min(r.width(), kBufferWidth), std::min(r.height(), kBufferHeight)}, axis);
        compositeFloatingBlock(state);
    } else {
        pushUndoSnapshot(state, axis == Axis::Horizontal ? EditCause::HorizontalFlip : EditCause::VerticalFlip);
        // Beyond W x H the store is left alone.
        const Rect region = r.isEmpty() ? spriteArea(state) : clipToSprite(state, r);
        mirror(state.current().pixels.data(), region, axis);
    }
    repaintCanvas(state);
}

} // namespace

void flipHorizontal(EditorState& state) { flip(state, Axis::Horizontal); }
void flipVertical(EditorState& state) { flip(state, Axis::Vertical); }

} // namespace tessel

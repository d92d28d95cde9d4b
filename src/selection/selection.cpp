#include "selection/selection.h"

#include <algorithm>
#include <cstdint>

namespace tessel {

bool pointerInsideSelection(const EditorState& state)
{
    Point p{state.gesture.lastMousePos.x / kZoom, state.gesture.lastMousePos.y / kZoom};
    return state.selection.selectionRect.contains(p);
}

bool isTransparentPixel(const ToolSettings& tools, std::uint8_t v)
{
    return tools.transparentSelection && (v & 15) == tools.backgroundIndex;
}

void stampFloatingBlock(EditorState& state)
{
    if (!state.hasSprite()) return;
    std::uint8_t* pixels = state.current().pixels.data();
    const std::uint8_t* block = state.selection.floatingPixels.data();
    const Rect& r = state.selection.selectionRect;
    const Rect area = spriteArea(state);
    // Only the block's columns and rows that land on the sprite are visited;
    // the rest stay hidden in floatingPixels until the block moves back.
    const int i0 = std::max(0, area.left - r.left);
    const int i1 = std::min({r.width(), kBufferWidth, area.right - r.left});
    const int j0 = std::max(0, area.top - r.top);
    const int j1 = std::min({r.height(), kBufferHeight, area.bottom - r.top});
    if (i1 <= i0) return;
    for (int j = j0; j < j1; ++j) {
        const std::uint8_t* src = block + j * kBufferWidth;
        std::uint8_t* dst = pixels + (r.top + j) * kBufferWidth + r.left;
        if (!state.tools.transparentSelection) {
            std::copy(src + i0, src + i1, dst + i0);
            continue;
        }
        for (int i = i0; i < i1; ++i)
            if (!isTransparentPixel(state.tools, src[i])) dst[i] = src[i];
    }
}

void compositeFloatingBlock(EditorState& state)
{
    if (!state.hasSprite()) return;
    state.current().pixels = state.gesture.backupPixels;
    stampFloatingBlock(state);
}

void commitSelection(EditorState& state)
{
    // Only a block that really floats is stamped: floatingPixels may hold a
    // stale block from an earlier selection.
    if (state.selection.selectionFloating && !state.selection.selectionRect.isEmpty()) stampFloatingBlock(state);
    state.selection.selectionFloating = false;
}

void setTransparentSelection(EditorState& state, bool on)
{
    state.tools.transparentSelection = on;
    if (!state.selection.selectionFloating || !state.hasSprite()) return;
    compositeFloatingBlock(state);
    repaintCanvas(state);
}

} // namespace tessel

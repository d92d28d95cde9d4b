#include "selection/selection.h"

#include <algorithm>
#include <cstdint>

namespace tessel {

Point toSpritePixel(Point client)
{
    // Signed division truncates toward zero, so client x from -1 to 5 all
    // land on column 0 and -2 on column -1. The subtraction is widened so
    // that no client position can overflow.
    auto map = [](std::int32_t v) {
        return static_cast<std::int32_t>((std::int64_t{v} - kCanvasMargin) / kZoom);
    };
    return {map(client.x), map(client.y)};
}

Rect spriteArea(const EditorState& state)
{
    if (!state.hasSprite()) return {};
    const SpriteRecord& sprite = state.current();
    // Catalogue sizes never exceed the store; clamping keeps a damaged
    // record from steering writes past it.
    return {0, 0, std::clamp(sprite.widthPixels(), 0, kBufferWidth),
            std::clamp(sprite.heightPixels(), 0, kBufferHeight)};
}

Rect clipToSprite(const EditorState& state, Rect r)
{
    const Rect area = spriteArea(state);
    const Rect clipped{std::max(r.left, area.left), std::max(r.top, area.top),
                       std::min(r.right, area.right), std::min(r.bottom, area.bottom)};
    return clipped.isEmpty() ? Rect{} : clipped;
}

void copyRows(const std::uint8_t* src, int srcLeft, int srcTop, std::uint8_t* dst, int w, int h)
{
    for (int j = 0; j < h; ++j)
        std::copy_n(src + (srcTop + j) * kBufferWidth + srcLeft, w, dst + j * kBufferWidth);
}

bool pointerInsideSelection(const EditorState& state)
{
    Point p{state.lastMousePos.x / kZoom, state.lastMousePos.y / kZoom};
    return state.selectionRect.contains(p);
}

bool isTransparentPixel(const EditorState& state, std::uint8_t v)
{
    return state.transparentSelection && (v & 15) == state.backgroundIndex;
}

void stampFloatingBlock(EditorState& state)
{
    if (!state.hasSprite()) return;
    std::uint8_t* pixels = state.current().pixels.data();
    const std::uint8_t* block = state.floatingPixels.data();
    const Rect& r = state.selectionRect;
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
        if (!state.transparentSelection) {
            std::copy(src + i0, src + i1, dst + i0);
            continue;
        }
        for (int i = i0; i < i1; ++i)
            if (!isTransparentPixel(state, src[i])) dst[i] = src[i];
    }
}

void compositeFloatingBlock(EditorState& state)
{
    if (!state.hasSprite()) return;
    state.current().pixels = state.backupPixels;
    stampFloatingBlock(state);
}

void commitSelection(EditorState& state)
{
    // Only a block that really floats is stamped: floatingPixels may hold a
    // stale block from an earlier selection.
    if (state.selectionFloating && !state.selectionRect.isEmpty()) stampFloatingBlock(state);
    state.selectionFloating = false;
}

void setTransparentSelection(EditorState& state, bool on)
{
    state.transparentSelection = on;
    if (!state.selectionFloating || !state.hasSprite()) return;
    compositeFloatingBlock(state);
    repaintCanvas(state);
}

} // namespace tessel

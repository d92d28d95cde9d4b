// Lifting, moving and putting down the floating block.
#include <algorithm>
#include <cstdint>

#include "selection/selection.h"
#include "tools/undo.h"

namespace tessel {
namespace {

// A block may leave the sprite on any side, but no farther than this: far
// beyond any window, and small enough that no edge arithmetic overflows.
constexpr std::int32_t kFarthestBlockPosition = 1 << 20;

} // namespace

void liftSelection(EditorState& state, bool fromClipboard)
{
    if (!state.hasSprite()) return;
    if (state.selection.selectionFloating) commitSelection(state); // never drop a block unstamped
    Rect& r = state.selection.selectionRect;
    r.normalise();
    if (fromClipboard) {
        const Rect& clip = state.clipboard.clipboardRect;
        const int w = std::min(clip.width(), kBufferWidth);
        const int h = std::min(clip.height(), kBufferHeight);
        if (w <= 0 || h <= 0) return; // a whole-store clip is no block
        copyRows(state.clipboard.clipboardPixels.data(), 0, 0, state.selection.floatingPixels.data(), w, h);
        r = {0, 0, w, h};
        state.selection.selectionFloating = true;
        return;
    }
    const Rect src = clipToSprite(state, r);
    if (src.isEmpty()) return; // nothing to lift: the block would have no area
    r = src;
    std::uint8_t* pixels = state.current().pixels.data();
    copyRows(pixels, r.left, r.top, state.selection.floatingPixels.data(), r.width(), r.height());
    const auto hole = static_cast<std::uint8_t>(state.tools.backgroundIndex & 15);
    for (int y = r.top; y < r.bottom; ++y)
        std::fill_n(pixels + y * kBufferWidth + r.left, r.width(), hole);
    state.selection.selectionFloating = true;
}

void beginSelectionMove(EditorState& state, Point client, bool saveBackup)
{
    if (!state.hasSprite()) return;
    const Point s = toSpritePixel(client);
    state.gesture.dragOffset = {s.x - state.selection.selectionRect.left, s.y - state.selection.selectionRect.top};
    if (!state.selection.selectionFloating) {
        pushUndoSnapshot(state);
        liftSelection(state, false);
    }
    // Taken after the lift, so the background holds the filled hole.
    if (saveBackup) state.gesture.backupPixels = state.current().pixels;
}

void moveSelection(EditorState& state, Point client)
{
    if (!state.hasSprite() || !state.selection.selectionFloating) return;
    const Point s = toSpritePixel(client);
    Rect& r = state.selection.selectionRect;
    const int w = r.width(), h = r.height();
    const auto place = [](std::int64_t v) {
        return static_cast<std::int32_t>(
            std::clamp<std::int64_t>(v, -kFarthestBlockPosition, kFarthestBlockPosition));
    };
    const std::int32_t left = place(std::int64_t{s.x} - state.gesture.dragOffset.x);
    const std::int32_t top = place(std::int64_t{s.y} - state.gesture.dragOffset.y);
    r = {left, top, left + w, top + h};
    compositeFloatingBlock(state);
    repaintCanvas(state);
}

} // namespace tessel

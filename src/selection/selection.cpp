#include "selection/selection.h"

namespace tessel {

Point toSpritePixel(Point client)
{
    // Signed division truncates toward zero, so client x from -1 to 5 all
    // land on column 0 and -2 on column -1.
    return {(client.x - kCanvasMargin) / kZoom, (client.y - kCanvasMargin) / kZoom};
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
    SpriteRecord& sprite = state.current();
    const Rect& r = state.selectionRect;
    const int w = r.width(), h = r.height();
    const int spriteW = sprite.widthPixels(), spriteH = sprite.heightPixels();
    for (int j = 0; j < h && j < kBufferHeight; ++j) {
        const int y = r.top + j;
        if (y < 0 || y >= spriteH) continue;
        for (int i = 0; i < w && i < kBufferWidth; ++i) {
            const int x = r.left + i;
            if (x < 0 || x >= spriteW) continue;
            const std::uint8_t v = state.floatingPixels[j * kBufferWidth + i];
            if (isTransparentPixel(state, v)) continue;
            sprite.pixels[y * kBufferWidth + x] = v;
        }
    }
}

void commitSelection(EditorState& state)
{
    if (state.selectionRect.height() > 0 && state.selectionFloating) stampFloatingBlock(state);
    state.selectionFloating = false;
}

} // namespace tessel

#include "model/sprite_area.h"

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

} // namespace tessel

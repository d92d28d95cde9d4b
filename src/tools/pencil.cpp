#include <algorithm>

#include "model/sprite_area.h"
#include "raster/line.h"
#include "tools/drawing_tools.h"

namespace tessel {

static_assert(kGridWidth == kBufferWidth && kGridHeight == kBufferHeight,
              "figures are drawn on the sprite's pixel buffer");

bool hasEditableSprite(const EditorState& state) { return state.romOpen() && state.hasSprite(); }

namespace {

// The sprite's drawable area: its own size, never beyond the buffer.
int drawableWidth(const SpriteRecord& s) { return std::clamp(s.widthPixels(), 0, kBufferWidth); }
int drawableHeight(const SpriteRecord& s) { return std::clamp(s.heightPixels(), 0, kBufferHeight); }

} // namespace

void pencil(EditorState& state, Point client, int index)
{
    if (!hasEditableSprite(state)) return;
    SpriteRecord& sprite = state.current();
    const Point p = toSpritePixel(client);
    state.gesture.pencilPixel = p; // also off the sprite: a joined stroke goes on from there
    if (p.x < 0 || p.x >= drawableWidth(sprite) || p.y < 0 || p.y >= drawableHeight(sprite)) return;
    sprite.pixels[p.y * kBufferWidth + p.x] = static_cast<std::uint8_t>(index & 15);
    repaintCanvas(state);
}

void pencilJoined(EditorState& state, Point client, int index)
{
    if (!hasEditableSprite(state)) return;
    const Point from = state.gesture.pencilPixel;
    const Point to = toSpritePixel(client);
    state.gesture.pencilPixel = to;
    // The raster's line leaves out its end; the stroke's end is drawn too.
    GridMask mask = lineCoverage(from, to, 1);
    mask.set(to.x, to.y);
    paintPixels(state.current(), mask, index);
    repaintCanvas(state);
}

void paintPixels(SpriteRecord& sprite, const GridMask& mask, int index)
{
    const std::uint64_t columns = spanBits(0, drawableWidth(sprite));
    const int rows = drawableHeight(sprite);
    const auto value = static_cast<std::uint8_t>(index & 15);
    for (int y = 0; y < rows; ++y) {
        std::uint8_t* row = sprite.pixels.data() + y * kBufferWidth;
        for (std::uint64_t bits = mask.rows[y] & columns; bits != 0; bits &= bits - 1)
            row[std::countr_zero(bits)] = value;
    }
}

} // namespace tessel

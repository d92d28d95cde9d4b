#include "tools/colours.h"

#include "model/sprite_area.h"
#include "tools/drawing_tools.h"

namespace tessel {

void setIndicatorColour(EditorState& state, int index, ColourSlot which)
{
    index &= 15;
    if (which == ColourSlot::Foreground)
        state.tools.foregroundIndex = index;
    else
        state.tools.backgroundIndex = index;
    viewOf(state).indicatorChanged(static_cast<int>(which),
                                   colourOf(state.currentDisplayPalette, index));
}

void pickColour(EditorState& state, Point client, ColourSlot which)
{
    if (!hasEditableSprite(state)) return;
    const SpriteRecord& sprite = state.current();
    const Point p = toSpritePixel(client);
    if (p.x < 0 || p.x >= sprite.widthPixels() || p.x >= kBufferWidth || p.y < 0 ||
        p.y >= sprite.heightPixels() || p.y >= kBufferHeight)
        return;
    setIndicatorColour(state, sprite.pixels[p.y * kBufferWidth + p.x] & 15, which);
}

} // namespace tessel

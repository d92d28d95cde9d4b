#include "model/sprite_area.h"
#include "model/work_surface.h"
#include "raster/flood_fill.h"
#include "tools/drawing_tools.h"

namespace tessel {

void floodFill(EditorState& state, Point client)
{
    if (!hasEditableSprite(state)) return;
    // The area is found among display colours, as the user sees them: pixels
    // of two indices with the same colour form one area, and the grey around
    // the sprite is an area of its own. Only the sprite's pixels change.
    WorkSurface surface;
    renderWorkSurface(state, surface);
    const GridMask area = floodArea(surface.data(), toSpritePixel(client));
    const int brush = state.tools.penAndBrush.brushIndex >= 0 ? state.tools.penAndBrush.brushIndex
                                                        : state.tools.penAndBrush.penIndex;
    paintPixels(state.current(), area, brush);
    repaintCanvas(state);
}

} // namespace tessel

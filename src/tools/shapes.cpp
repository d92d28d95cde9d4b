#include "model/sprite_area.h"
#include "raster/closed_figures.h"
#include "raster/line.h"
#include "tools/drawing_tools.h"

namespace tessel {

void preparePenAndBrush(EditorState& state, MouseButton button)
{
    const bool left = button == MouseButton::Left;
    const int drawing = left ? state.tools.foregroundIndex : state.tools.backgroundIndex;
    const int other = left ? state.tools.backgroundIndex : state.tools.foregroundIndex;
    PenAndBrush& pb = state.tools.penAndBrush;
    pb.penIndex = drawing;
    pb.penWidth = viewOf(state).lineSize();
    pb.brushIndex = -1;
    if (state.tools.currentTool == ToolId::FloodFill) {
        pb.brushIndex = drawing;
    } else if (state.tools.currentTool != ToolId::Line) {
        switch (state.tools.fillMode) {
        case FillMode::Opaque:
            pb.brushIndex = drawing;
            break;
        case FillMode::Background:
            pb.brushIndex = other;
            break;
        case FillMode::Transparent:
            break;
        }
    }
}

void beginShape(EditorState& state, Point client)
{
    state.gesture.shapeStart = toSpritePixel(client);
    if (!hasEditableSprite(state)) return;
    state.gesture.backupPixels = state.current().pixels;
    state.gesture.shapeDragSprite = state.currentSprite;
}

void dragShape(EditorState& state, Point client)
{
    state.gesture.shapeEnd = toSpritePixel(client);
    // Only a drag that began with a figure press on this sprite has a
    // backup to rebuild from. A button held since a press with another tool
    // (the colour picker while Shift was down, say) must not bring back a
    // stale backup over the sprite.
    if (!hasEditableSprite(state) || state.gesture.shapeDragSprite != state.currentSprite) return;
    SpriteRecord& sprite = state.current();
    sprite.pixels = state.gesture.backupPixels;
    const PenAndBrush& pb = state.tools.penAndBrush;
    const Point a = state.gesture.shapeStart, b = state.gesture.shapeEnd;
    FigureCoverage figure;
    switch (state.tools.currentTool) {
    case ToolId::Line:
        figure.outline = lineCoverage(a, b, pb.penWidth);
        break;
    case ToolId::Rectangle:
        figure = rectangleCoverage(a, b, pb.penWidth);
        break;
    case ToolId::Ellipse:
        figure = ellipseCoverage(a, b, pb.penWidth);
        break;
    case ToolId::RoundedRectangle: {
        // The corner is read at every step, so a change shows on the next move.
        const int r = viewOf(state).curveRadius();
        figure = roundRectCoverage(a, b, pb.penWidth, r, r);
        break;
    }
    default:
        return;
    }
    if (pb.brushIndex >= 0) paintPixels(sprite, figure.interior, pb.brushIndex);
    paintPixels(sprite, figure.outline, pb.penIndex);
    repaintCanvas(state);
}

} // namespace tessel

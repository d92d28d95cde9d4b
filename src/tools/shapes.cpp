#include "model/sprite_area.h"
#include "raster/line.h"
#include "tools/drawing_tools.h"

namespace tessel {

void preparePenAndBrush(EditorState& state, MouseButton button, BrushRule rule)
{
    const bool left = button == MouseButton::Left;
    const int drawing = left ? state.tools.foregroundIndex : state.tools.backgroundIndex;
    const int other = left ? state.tools.backgroundIndex : state.tools.foregroundIndex;
    PenAndBrush& pb = state.tools.penAndBrush;
    pb.penIndex = drawing;
    pb.penWidth = viewOf(state).lineSize();
    pb.brushIndex = -1;
    if (rule == BrushRule::SameAsPen) {
        pb.brushIndex = drawing;
    } else if (rule == BrushRule::FromFillMode) {
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

FigureCoverage lineFigure(Point a, Point b, int penWidth, EditorView&)
{
    return {.outline = lineCoverage(a, b, penWidth), .interior = {}};
}

FigureCoverage rectangleFigure(Point a, Point b, int penWidth, EditorView&)
{
    return rectangleCoverage(a, b, penWidth);
}

FigureCoverage ellipseFigure(Point a, Point b, int penWidth, EditorView&)
{
    return ellipseCoverage(a, b, penWidth);
}

FigureCoverage roundRectFigure(Point a, Point b, int penWidth, EditorView& options)
{
    const int r = options.curveRadius();
    return roundRectCoverage(a, b, penWidth, r, r);
}

void beginShape(EditorState& state, Point client)
{
    state.gesture.shapeStart = toSpritePixel(client);
    if (!hasEditableSprite(state)) return;
    state.gesture.backupPixels = state.current().pixels;
    state.gesture.shapeDragSprite = state.currentSprite;
}

void dragShape(EditorState& state, Point client, FigureFunction figure)
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
    const FigureCoverage covered =
        figure(state.gesture.shapeStart, state.gesture.shapeEnd, pb.penWidth, viewOf(state));
    if (pb.brushIndex >= 0) paintPixels(sprite, covered.interior, pb.brushIndex);
    paintPixels(sprite, covered.outline, pb.penIndex);
    repaintCanvas(state);
}

} // namespace tessel

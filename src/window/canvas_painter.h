// Composes the canvas and the preview of the current sprite.
//
// compose(): sprite -> workSurface (64 x 80 RGB) -> canvas (grey field in a
// sunken edge, workSurface magnified x4 at (2, 2), dotted selection outline)
// and preview (the sprite's W x H centred on black). paint() then puts both
// into the main window's client area with two image copies.
#pragma once

#include <QImage>
#include <QRect>

#include "model/editor_state.h"
#include "model/work_surface.h"

class QPainter;

namespace tessel {

inline constexpr QRect kCanvasRect{0, 0, 420, 330};
inline constexpr QRect kPreviewRect{450, 0, 64, 80};

class CanvasPainter {
public:
    CanvasPainter();

    void compose(const EditorState& state);
    void paint(QPainter& painter) const;

    const QImage& workSurface() const { return workSurface_; }
    const QImage& canvas() const { return canvas_; }
    const QImage& preview() const { return preview_; }

private:
    void drawSunkenEdge();
    void magnifyWorkSurface();
    void drawSelectionOutline(const Rect& selection);
    void composePreview(const EditorState& state);

    WorkSurface surface_{};
    QImage workSurface_;
    QImage canvas_;
    QImage preview_;
};

} // namespace tessel

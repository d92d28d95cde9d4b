// The Large View's magnified sprite, the part of its window that takes the
// pointer: it paints the sprite through editor/zoomed_view.h at the zoom
// and grids the window gives it and reports the pointer in view pixels.
#pragma once

#include <QImage>
#include <QWidget>

#include "editor/zoomed_view.h"

namespace tessel {

class LargeViewCanvas : public QWidget {
    Q_OBJECT
public:
    LargeViewCanvas(const EditorState& state, QWidget* parent);

    // The layout of the last paint, or of the present size and `zoom`.
    ZoomedLayout layoutAt(int zoom) const;
    void setZoomAndGrids(int zoom, ViewGrids grids);
    const QImage& image() const { return image_; }

signals:
    void pressed(QPoint view, Qt::MouseButton button, bool doubleClick);
    void moved(QPoint view);
    void released(Qt::MouseButton button);
    void pointerLeft();
    // Ctrl+wheel: +1 per notch up, -1 per notch down.
    void zoomStep(int steps);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    const EditorState& state_;
    int zoom_ = 1;
    ViewGrids grids_{};
    WorkSurface surface_{};
    QImage image_;
    int wheelRest_ = 0; // eighths of a degree not yet turned into a step
};

} // namespace tessel

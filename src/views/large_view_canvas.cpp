#include "views/large_view_canvas.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "widgets/accessible_text.h"

namespace tessel {

namespace {
constexpr int kWheelNotch = 120; // eighths of a degree per notch
} // namespace

LargeViewCanvas::LargeViewCanvas(const EditorState& state, QWidget* parent) : QWidget(parent), state_(state)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent); // every pixel is painted
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setAccessibleRole(this, QAccessible::Graphic);
    setAccessibleName(tr("Large View of the sprite"));
}

ZoomedLayout LargeViewCanvas::layoutAt(int zoom) const { return zoomedLayout(state_, width(), height(), zoom); }

void LargeViewCanvas::setZoomAndGrids(int zoom, ViewGrids grids)
{
    zoom_ = zoom;
    grids_ = grids;
}

void LargeViewCanvas::paintEvent(QPaintEvent*)
{
    setAccessibleDescriptionIfChanged(this, spriteDescription(state_));
    if (image_.size() != size()) image_ = QImage(size(), QImage::Format_RGB32);
    if (image_.isNull()) return;
    renderWorkSurface(state_, surface_);
    paintZoomed(state_, surface_, layoutAt(zoom_), grids_, reinterpret_cast<std::uint32_t*>(image_.bits()),
                static_cast<int>(image_.bytesPerLine() / 4));
    QPainter(this).drawImage(0, 0, image_);
}

void LargeViewCanvas::mousePressEvent(QMouseEvent* event)
{
    emit pressed(event->position().toPoint(), event->button(), false);
    event->accept();
}

void LargeViewCanvas::mouseDoubleClickEvent(QMouseEvent* event)
{
    emit pressed(event->position().toPoint(), event->button(), true);
    event->accept();
}

void LargeViewCanvas::mouseMoveEvent(QMouseEvent* event)
{
    emit moved(event->position().toPoint());
    event->accept();
}

void LargeViewCanvas::mouseReleaseEvent(QMouseEvent* event)
{
    emit released(event->button());
    event->accept();
}

void LargeViewCanvas::wheelEvent(QWheelEvent* event)
{
    if (!(event->modifiers() & Qt::ControlModifier)) {
        event->ignore();
        return;
    }
    // Fine-grained wheels send parts of a notch: they add up to steps.
    wheelRest_ += event->angleDelta().y();
    const int steps = wheelRest_ / kWheelNotch;
    wheelRest_ -= steps * kWheelNotch;
    if (steps != 0) emit zoomStep(steps);
    event->accept();
}

void LargeViewCanvas::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    emit pointerLeft();
}

} // namespace tessel

#include "app/client_area.h"

#include <QMouseEvent>
#include <QPainter>

namespace tessel {

namespace {
QPoint clientPoint(const QMouseEvent* event) { return event->position().toPoint(); }
} // namespace

ClientArea::ClientArea(const EditorState& state, QWidget* parent)
    : QWidget(parent), state_(state)
{
    // Moves without a button pressed record the pointer for the cursor.
    setMouseTracking(true);
}

void ClientArea::repaintCanvas()
{
    if (isVisible() && !window()->isMinimized()) {
        repaint(QRegion(kCanvasRect) + QRegion(kPreviewRect));
    } else {
        // Nothing reaches the screen, but workSurface still follows the
        // sprite as after every paint.
        painter_.compose(state_);
    }
}

void ClientArea::paintEvent(QPaintEvent*)
{
    if (window()->isMinimized()) return;
    painter_.compose(state_);
    QPainter p(this);
    painter_.paint(p);
    p.end();
    if (onFirstPaint) {
        auto once = std::move(onFirstPaint);
        onFirstPaint = nullptr;
        once();
    }
}

void ClientArea::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) emit leftPressed(clientPoint(event));
    else if (event->button() == Qt::RightButton) emit rightPressed(clientPoint(event));
    event->accept();
}

void ClientArea::mouseMoveEvent(QMouseEvent* event)
{
    emit moved(clientPoint(event));
    event->accept();
}

void ClientArea::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) emit leftReleased();
    else if (event->button() == Qt::RightButton) emit rightReleased();
    event->accept();
}

void ClientArea::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second press of a double click: the left button has its own
    // handler; a right double click draws like any right press.
    if (event->button() == Qt::LeftButton) emit leftDoubleClicked(clientPoint(event));
    else if (event->button() == Qt::RightButton) emit rightPressed(clientPoint(event));
    event->accept();
}

} // namespace tessel

namespace tessel {

void ClientArea::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    emit pointerLeft();
}

} // namespace tessel

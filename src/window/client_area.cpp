#include "window/client_area.h"

#include <QAbstractButton>
#include <QMouseEvent>
#include <cstdlib>
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
    // A press on the canvas takes the keyboard focus out of the sprite
    // number box, so that the shortcuts act on the sprite again.
    setFocusPolicy(Qt::ClickFocus);
}

bool ClientArea::onButton(QPoint client) const
{
    // A press that a push button, a tool button or the check box passed on
    // (they ignore the right button) belongs to that button, not to the
    // canvas behind it.
    for (const QWidget* w = childAt(client); w && w != this; w = w->parentWidget())
        if (qobject_cast<const QAbstractButton*>(w)) return true;
    return false;
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
    const QPoint at = clientPoint(event);
    if (onButton(at)) {
        event->accept();
        return;
    }
    lastPress_ = at;
    if (event->button() == Qt::LeftButton) emit leftPressed(at);
    else if (event->button() == Qt::RightButton) emit rightPressed(at);
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

bool ClientArea::isDoubleClickAt(QPoint second, QPoint first)
{
    return std::abs(second.x() - first.x()) <= kDoubleClickReach &&
           std::abs(second.y() - first.y()) <= kDoubleClickReach;
}

void ClientArea::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QPoint at = clientPoint(event);
    if (onButton(at)) {
        event->accept();
        return;
    }
    // The second press of a double click: the left button has its own
    // handler; a right double click draws like any right press. Qt counts
    // presses up to 5 pixels apart as a double click, but neighbouring
    // sprite pixels lie 4 apart: beyond 2 pixels each way the second press
    // is a press of its own.
    if (event->button() == Qt::LeftButton && isDoubleClickAt(at, lastPress_))
        emit leftDoubleClicked(at);
    else if (event->button() == Qt::LeftButton)
        emit leftPressed(at);
    else if (event->button() == Qt::RightButton)
        emit rightPressed(at);
    lastPress_ = at;
    event->accept();
}

void ClientArea::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    emit pointerLeft();
}

} // namespace tessel

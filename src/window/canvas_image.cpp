#include "window/canvas_image.h"

#include <QFocusEvent>
#include <QPainter>

#include "window/canvas_painter.h"
#include "widgets/accessible_text.h"

namespace tessel {

CanvasImage::CanvasImage(const EditorState& state, QWidget* clientArea) : QWidget(clientArea), state_(state)
{
    setGeometry(kCanvasRect);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::StrongFocus);
    // A press on the client area gives the focus here.
    clientArea->setFocusProxy(this);
    setAccessibleRole(this, QAccessible::Graphic);
    setAccessibleName(tr("Sprite canvas"));
    refreshDescription();
}

void CanvasImage::refreshDescription() { setAccessibleDescriptionIfChanged(this, spriteDescription(state_)); }

void CanvasImage::paintEvent(QPaintEvent*)
{
    // Only the focus mark: the canvas itself is the client area's painting.
    if (!focusShown_ || !hasFocus()) return;
    QPainter p(this);
    p.setPen(QPen(Qt::white, 1));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    p.setPen(QPen(Qt::black, 1, Qt::DashLine));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void CanvasImage::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    focusShown_ = event->reason() != Qt::MouseFocusReason;
    update();
}

void CanvasImage::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    focusShown_ = false;
    update();
}

} // namespace tessel

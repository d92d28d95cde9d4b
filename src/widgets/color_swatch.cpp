#include "widgets/color_swatch.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <cstdlib>
#include <limits>

namespace tessel {

ColorSwatch::ColorSwatch(QWidget* parent) : QWidget(parent)
{
    // A press on a swatch takes the keyboard focus out of a text field.
    setFocusPolicy(Qt::ClickFocus);
}

void ColorSwatch::setColor(int width, int height, int red, int green, int blue, int border)
{
    width_ = width;
    height_ = height;
    red_ = red;
    green_ = green;
    blue_ = blue;
    border_ = border;
    update();
}

void ColorSwatch::bindRightClick(int colorIndex, std::int32_t* indexTarget,
                                 ColorSwatch* backIndicator, QWidget* frontIndicator)
{
    colorIndex_ = colorIndex;
    indexTarget_ = indexTarget;
    backIndicator_ = backIndicator;
    frontIndicator_ = frontIndicator;
    rightClickEnabled_ = indexTarget != nullptr && backIndicator != nullptr;
}

void ColorSwatch::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRect r(0, 0, width_, height_);
    if (r.isEmpty()) return;
    p.fillRect(r, color());
    auto frame = [&](QColor topLeft, QColor bottomRight) {
        p.fillRect(QRect(r.left(), r.top(), r.width(), 1), topLeft);
        p.fillRect(QRect(r.left(), r.top(), 1, r.height()), topLeft);
        p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), bottomRight);
        p.fillRect(QRect(r.right(), r.top(), 1, r.height()), bottomRight);
    };
    switch (border_) {
    case static_cast<int>(SwatchBorder::Black):
        frame(Qt::black, Qt::black);
        break;
    case static_cast<int>(SwatchBorder::Shaded):
        frame(QColor(128, 128, 128), QColor(224, 224, 224));
        break;
    case static_cast<int>(SwatchBorder::Sunken):
        // A two-pixel sunken edge: dark outside top-left, light bottom-right.
        frame(QColor(128, 128, 128), QColor(255, 255, 255));
        if (r.width() > 2 && r.height() > 2) {
            const QRect inner = r.adjusted(1, 1, -1, -1);
            p.fillRect(QRect(inner.left(), inner.top(), inner.width(), 1), QColor(64, 64, 64));
            p.fillRect(QRect(inner.left(), inner.top(), 1, inner.height()), QColor(64, 64, 64));
            p.fillRect(QRect(inner.left(), inner.bottom(), inner.width(), 1), QColor(212, 208, 200));
            p.fillRect(QRect(inner.right(), inner.top(), 1, inner.height()), QColor(212, 208, 200));
        }
        break;
    case static_cast<int>(SwatchBorder::Blue):
        frame(QColor(0, 0, 224), QColor(0, 0, 224));
        break;
    default:
        break;
    }
    if (focusShown_ && hasFocus()) paintFocusMark(p, r);
}

void ColorSwatch::paintFocusMark(QPainter& p, const QRect& r) const
{
    // White under black dashes: visible on every colour.
    const QRect mark = r.adjusted(2, 2, -3, -3);
    if (mark.width() < 2 || mark.height() < 2) return;
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 1));
    p.drawRect(mark);
    p.setPen(QPen(Qt::black, 1, Qt::DashLine));
    p.drawRect(mark);
}

const std::vector<SwatchKey>& ColorSwatch::keys()
{
    static const std::vector<SwatchKey> table = {
        {Qt::Key_Left, Qt::NoModifier, SwatchKeyAction::Move},
        {Qt::Key_Right, Qt::NoModifier, SwatchKeyAction::Move},
        {Qt::Key_Up, Qt::NoModifier, SwatchKeyAction::Move},
        {Qt::Key_Down, Qt::NoModifier, SwatchKeyAction::Move},
        {Qt::Key_Space, Qt::NoModifier, SwatchKeyAction::Pick},
        {Qt::Key_Return, Qt::NoModifier, SwatchKeyAction::Pick},
        {Qt::Key_Enter, Qt::KeypadModifier, SwatchKeyAction::Pick},
        {Qt::Key_Space, Qt::ShiftModifier, SwatchKeyAction::PickBackground},
    };
    return table;
}

void ColorSwatch::setKeyboardPickable(bool pickable)
{
    pickable_ = pickable;
    bool stopTaken = false;
    if (parentWidget())
        for (const ColorSwatch* s : parentWidget()->findChildren<ColorSwatch*>(Qt::FindDirectChildrenOnly))
            stopTaken |= s != this && s->pickable_ && (s->focusPolicy() & Qt::TabFocus);
    setFocusPolicy(pickable && !stopTaken ? Qt::StrongFocus : Qt::ClickFocus);
}

ColorSwatch* ColorSwatch::neighbour(int arrowKey) const
{
    if (!parentWidget()) return nullptr;
    const QPoint from = geometry().center();
    const bool across = arrowKey == Qt::Key_Left || arrowKey == Qt::Key_Right;
    const int sign = arrowKey == Qt::Key_Left || arrowKey == Qt::Key_Up ? -1 : 1;
    ColorSwatch* best = nullptr;
    int bestDistance = std::numeric_limits<int>::max();
    for (ColorSwatch* s : parentWidget()->findChildren<ColorSwatch*>(Qt::FindDirectChildrenOnly)) {
        if (s == this || !s->pickable_ || !s->isVisible() || !s->isEnabled()) continue;
        const QPoint d = s->geometry().center() - from;
        // In the same row (or column) and on the arrow's side.
        const int along = across ? d.x() : d.y();
        const int aside = across ? d.y() : d.x();
        const int halfSize = across ? height() / 2 : width() / 2;
        if (along * sign <= 0 || std::abs(aside) > halfSize) continue;
        if (std::abs(along) < bestDistance) {
            bestDistance = std::abs(along);
            best = s;
        }
    }
    return best;
}

void ColorSwatch::keyPressEvent(QKeyEvent* event)
{
    if (pickable_) {
        const Qt::KeyboardModifiers mods = event->modifiers();
        for (const SwatchKey& k : keys()) {
            if (k.key != event->key() || k.modifiers != mods) continue;
            switch (k.action) {
            case SwatchKeyAction::Move:
                if (ColorSwatch* next = neighbour(k.key)) next->setFocus(Qt::OtherFocusReason);
                break;
            case SwatchKeyAction::Pick: emit clicked(); break;
            case SwatchKeyAction::PickBackground: chooseAsBackground(); break;
            }
            event->accept();
            return;
        }
    }
    QWidget::keyPressEvent(event);
}

void ColorSwatch::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    focusShown_ = event->reason() != Qt::MouseFocusReason;
    if (pickable_ && parentWidget()) {
        // This swatch becomes its group's Tab stop.
        for (ColorSwatch* s : parentWidget()->findChildren<ColorSwatch*>(Qt::FindDirectChildrenOnly))
            if (s->pickable_) s->setFocusPolicy(s == this ? Qt::StrongFocus : Qt::ClickFocus);
    }
    update();
}

void ColorSwatch::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    focusShown_ = false;
    update();
}

void ColorSwatch::mousePressEvent(QMouseEvent* event)
{
    // The press of either button does nothing by itself; the release acts.
    if (event->button() == Qt::LeftButton) leftPressed_ = true;
    event->accept();
}

void ColorSwatch::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        if (leftPressed_ && rect().contains(event->position().toPoint())) emit clicked();
        leftPressed_ = false;
    } else if (event->button() == Qt::RightButton) {
        // Only the release acts, wherever the press began: the swatch under
        // the release (the one pressed keeps the mouse until then).
        ColorSwatch* target = this;
        const QPoint at = event->position().toPoint();
        if (!rect().contains(at))
            target = parentWidget() ? qobject_cast<ColorSwatch*>(parentWidget()->childAt(mapToParent(at)))
                                    : nullptr;
        if (target) target->chooseAsBackground();
    }
    event->accept();
}

void ColorSwatch::chooseAsBackground()
{
    if (!rightClickEnabled_) return;
    *indexTarget_ = colorIndex_;
    backIndicator_->setColor(25, 25, red_, green_, blue_, static_cast<int>(SwatchBorder::Black));
    if (frontIndicator_) frontIndicator_->update();
    emit backgroundChosen(colorIndex_);
}

void ColorSwatch::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second click of a double click is not a click.
    leftPressed_ = false;
    event->accept();
}

} // namespace tessel

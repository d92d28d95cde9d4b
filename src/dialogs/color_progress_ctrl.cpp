#include "dialogs/color_progress_ctrl.h"

#include <QPainter>
#include <algorithm>

namespace tessel {

QColor gaugeColourFor(int freePercent)
{
    if (freePercent > 50) return QColor(0, 244, 64);
    if (freePercent > 20) return QColor(255, 255, 0);
    if (freePercent > 10) return QColor(255, 128, 0);
    return QColor(255, 0, 0);
}

ColorProgressCtrl::ColorProgressCtrl(QWidget* parent) : QWidget(parent) {}

void ColorProgressCtrl::setRange(int minimum, int maximum)
{
    minimum_ = minimum;
    maximum_ = maximum;
    setPos(position_);
}

void ColorProgressCtrl::setPos(int position)
{
    position_ = std::clamp(position, minimum_, maximum_);
    update();
}

void ColorProgressCtrl::setBarColor(const QColor& colour)
{
    barColor_ = colour;
    update();
}

int ColorProgressCtrl::barWidth() const
{
    const float scale = static_cast<float>(width()) * 0.01f;
    return static_cast<int>(static_cast<float>(position_) * scale);
}

void ColorProgressCtrl::paintEvent(QPaintEvent*)
{
    // The one-pixel border is the control's frame; the bar lies inside it,
    // starting one row below the inside's top and H - 4 rows high, so one
    // free row stays above and below it. Nothing else is painted.
    QPainter p(this);
    p.setPen(Qt::black);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    const QRect inside = rect().adjusted(1, 1, -1, -1);
    p.setClipRect(inside);
    p.fillRect(QRect(inside.left(), inside.top() + 1, barWidth(), height() - 4), barColor_);
}

} // namespace tessel

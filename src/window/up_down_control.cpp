#include "window/up_down_control.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <algorithm>

#include "editor/sprite_selection.h"

namespace tessel {

UpDownControl::UpDownControl(QLineEdit* buddy, QWidget* parent)
    : QWidget(parent), buddy_(buddy), up_(new QToolButton(this)), down_(new QToolButton(this))
{
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    for (QToolButton* b : {up_, down_}) {
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
    }
    connect(up_, &QToolButton::clicked, this, &UpDownControl::stepUp);
    connect(down_, &QToolButton::clicked, this, &UpDownControl::stepDown);
    buddy_->installEventFilter(this);
}

void UpDownControl::setAccessibleNames(const QString& option)
{
    setAccessibleName(tr("%1 arrows").arg(option));
    up_->setAccessibleName(tr("Increase %1").arg(option));
    down_->setAccessibleName(tr("Decrease %1").arg(option));
}

void UpDownControl::setRange(int minimum, int maximum)
{
    minimum_ = std::min(minimum, maximum);
    maximum_ = std::max(minimum, maximum);
}

void UpDownControl::step(int delta)
{
    // A typed value outside the range is first brought into it.
    const int current = std::clamp(parseDialogInt(buddy_->text().toStdString()), minimum_, maximum_);
    int next = current + delta;
    if (next > maximum_) next = minimum_;
    if (next < minimum_) next = maximum_;
    buddy_->setText(QString::number(next));
}

bool UpDownControl::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == buddy_ && event->type() == QEvent::KeyPress && isEnabled()) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            step(key == Qt::Key_Up ? +1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void UpDownControl::resizeEvent(QResizeEvent*)
{
    const int half = height() / 2;
    up_->setGeometry(0, 0, width(), half);
    down_->setGeometry(0, half, width(), height() - half);
}

} // namespace tessel

#include "browser/page_arrows.h"

#include <QToolButton>

namespace tessel {

namespace {

QToolButton* arrowButton(QWidget* parent, Qt::ArrowType arrow)
{
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setAutoRepeatDelay(500);
    button->setAutoRepeatInterval(100);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

PageArrows::PageArrows(QWidget* parent)
    : QWidget(parent), left_(arrowButton(this, Qt::LeftArrow)), right_(arrowButton(this, Qt::RightArrow))
{
    connect(left_, &QToolButton::clicked, this, [this] { emit stepped(-1); });
    connect(right_, &QToolButton::clicked, this, [this] { emit stepped(+1); });
}

void PageArrows::resizeEvent(QResizeEvent*)
{
    // The two arrows share the width.
    const int half = width() / 2;
    left_->setGeometry(0, 0, half, height());
    right_->setGeometry(half, 0, width() - half, height());
}

} // namespace tessel

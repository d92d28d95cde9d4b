#include "browser/page_arrows.h"

#include <QLabel>
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
    : QWidget(parent), left_(arrowButton(this, Qt::LeftArrow)), right_(arrowButton(this, Qt::RightArrow)),
      page_(new QLabel(this))
{
    page_->setAlignment(Qt::AlignCenter);
    left_->setToolTip(tr("Previous page (Left, Page Up)"));
    right_->setToolTip(tr("Next page (Right, Page Down)"));
    left_->setAccessibleName(tr("Previous page"));
    right_->setAccessibleName(tr("Next page"));
    connect(left_, &QToolButton::clicked, this, [this] { emit stepped(-1); });
    connect(right_, &QToolButton::clicked, this, [this] { emit stepped(+1); });
}

void PageArrows::showPage(int page, int pages)
{
    page_->setText(tr("Page %1 of %2").arg(page + 1).arg(pages));
}

QString PageArrows::pageText() const { return page_->text(); }

void PageArrows::resizeEvent(QResizeEvent*)
{
    // The arrows at both ends, the page number in the middle third.
    const int third = width() / 3;
    left_->setGeometry(0, 0, third, height());
    page_->setGeometry(third, 0, width() - 2 * third, height());
    right_->setGeometry(width() - third, 0, third, height());
}

} // namespace tessel

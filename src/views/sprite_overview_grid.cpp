#include "views/sprite_overview_grid.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

namespace tessel {

namespace {
const QColor kLabelColour(0xdd, 0xdd, 0xdd);

QRect qRectOf(const Rect& r) { return QRect(r.left, r.top, r.width(), r.height()); }
} // namespace

SpriteOverviewGrid::SpriteOverviewGrid(const EditorState& state, QWidget* parent)
    : QAbstractScrollArea(parent), state_(state)
{
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent); // every pixel is painted
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn); // a bar that comes and goes would reflow the grid
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

OverviewLayout SpriteOverviewGrid::layout() const
{
    OverviewLayout l;
    l.viewWidth = viewport()->width();
    l.viewHeight = viewport()->height();
    l.scale = scale_;
    l.lineHeight = fontMetrics().height();
    l.labelLines = labelLines_;
    l.count = static_cast<int>(sprites_.size());
    return l;
}

void SpriteOverviewGrid::setSprites(std::vector<int> sprites)
{
    const int kept = cursorSprite();
    sprites_ = std::move(sprites);
    cursor_ = sprites_.empty() ? -1 : 0;
    const auto it = std::find(sprites_.begin(), sprites_.end(), kept);
    if (it != sprites_.end()) cursor_ = static_cast<int>(it - sprites_.begin());
    updateScrollRange();
    scrollToCursor();
    refreshAll();
    emit cursorMoved();
}

void SpriteOverviewGrid::setScale(int scale)
{
    scale_ = std::clamp(scale, 1, 2);
    updateScrollRange();
    scrollToCursor();
    refreshAll();
}

void SpriteOverviewGrid::setLabelLines(int lines)
{
    if (lines == labelLines_) return;
    labelLines_ = std::clamp(lines, 1, 2);
    updateScrollRange();
    refreshAll();
}

void SpriteOverviewGrid::setCursor(int index)
{
    if (sprites_.empty()) return;
    cursor_ = std::clamp(index, 0, static_cast<int>(sprites_.size()) - 1);
    scrollToCursor();
    refreshAll();
    emit cursorMoved();
}

void SpriteOverviewGrid::setCursorToSprite(int sprite)
{
    const auto it = std::find(sprites_.begin(), sprites_.end(), sprite);
    if (it != sprites_.end()) setCursor(static_cast<int>(it - sprites_.begin()));
}

void SpriteOverviewGrid::refreshAll() { viewport()->update(); }

void SpriteOverviewGrid::refreshSprite(int sprite)
{
    const auto it = std::find(sprites_.begin(), sprites_.end(), sprite);
    if (it == sprites_.end()) return;
    const int index = static_cast<int>(it - sprites_.begin());
    viewport()->update(qRectOf(layout().cellRect(index, verticalScrollBar()->value())));
}

void SpriteOverviewGrid::updateScrollRange()
{
    const OverviewLayout l = layout();
    QScrollBar* bar = verticalScrollBar();
    bar->setRange(0, std::max(0, l.contentHeight() - l.viewHeight));
    bar->setPageStep(std::max(1, l.viewHeight));
    bar->setSingleStep(std::max(1, l.cellHeight() / 4));
}

void SpriteOverviewGrid::scrollToCursor()
{
    if (cursor_ < 0) return;
    const OverviewLayout l = layout();
    const Rect cell = l.cellRect(cursor_, 0);
    QScrollBar* bar = verticalScrollBar();
    if (cell.top < bar->value()) bar->setValue(cell.top);
    else if (cell.bottom > bar->value() + l.viewHeight) bar->setValue(cell.bottom - l.viewHeight);
}

int SpriteOverviewGrid::indexAt(QPoint viewPoint) const
{
    return layout().indexAt({viewPoint.x(), viewPoint.y()}, verticalScrollBar()->value());
}

void SpriteOverviewGrid::paintEvent(QPaintEvent* event)
{
    QWidget* view = viewport();
    if (image_.size() != view->size()) image_ = QImage(view->size(), QImage::Format_RGB32);
    if (image_.isNull()) return;
    const OverviewLayout l = layout();
    const QRect exposed = event->rect();
    const int current = state_.romOpen() && state_.hasSprite() ? state_.currentSprite : -1;
    static const SpriteTagsSource kNoTags;
    paintOverview(state_.document, l, sprites_, verticalScrollBar()->value(), current, cursor_,
                  tags_ ? *tags_ : kNoTags,
                  {exposed.left(), exposed.top(), exposed.right() + 1, exposed.bottom() + 1},
                  reinterpret_cast<std::uint32_t*>(image_.bits()), static_cast<int>(image_.bytesPerLine() / 4));
    QPainter painter(view);
    painter.drawImage(exposed, image_, exposed);
    drawLabels(painter, l, exposed);
}

void SpriteOverviewGrid::drawLabels(QPainter& painter, const OverviewLayout& l, const QRect& exposed)
{
    const int scroll = verticalScrollBar()->value();
    painter.setPen(kLabelColour);
    const int end = l.endIndexIn(exposed.bottom() + 1, scroll);
    for (int i = l.firstIndexIn(exposed.top(), scroll); i < end; ++i) {
        const int sprite = sprites_[i];
        painter.drawText(qRectOf(l.numberRect(i, scroll)), Qt::AlignCenter, QString::number(sprite));
        if (l.labelLines < 2 || !tags_ || !*tags_) continue;
        const QRect nameRect = qRectOf(l.nameRect(i, scroll));
        const QString name = QString::fromStdString((*tags_)(sprite).name);
        painter.drawText(nameRect, Qt::AlignCenter, fontMetrics().elidedText(name, Qt::ElideRight, nameRect.width()));
    }
}

void SpriteOverviewGrid::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollRange();
    scrollToCursor();
}

void SpriteOverviewGrid::scrollContentsBy(int, int) { viewport()->update(); }

void SpriteOverviewGrid::keyPressEvent(QKeyEvent* event)
{
    if (sprites_.empty()) return QAbstractScrollArea::keyPressEvent(event);
    const OverviewLayout l = layout();
    const int columns = l.columns();
    const int page = std::max(1, l.viewHeight / l.cellHeight()) * columns;
    const int last = static_cast<int>(sprites_.size()) - 1;
    int target = cursor_;
    switch (event->key()) {
    case Qt::Key_Left: target = cursor_ - 1; break;
    case Qt::Key_Right: target = cursor_ + 1; break;
    case Qt::Key_Up: target = cursor_ - columns; break;
    case Qt::Key_Down: target = cursor_ + columns; break;
    case Qt::Key_PageUp: target = cursor_ - page; break;
    case Qt::Key_PageDown: target = cursor_ + page; break;
    case Qt::Key_Home: target = 0; break;
    case Qt::Key_End: target = last; break;
    case Qt::Key_Return:
    case Qt::Key_Enter: emit chosen(cursorSprite()); return;
    default: return QAbstractScrollArea::keyPressEvent(event);
    }
    setCursor(std::clamp(target, 0, last));
}

void SpriteOverviewGrid::mousePressEvent(QMouseEvent* event)
{
    const int index = indexAt(event->position().toPoint());
    if (index >= 0) setCursor(index);
    setFocus(Qt::MouseFocusReason);
}

void SpriteOverviewGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    const int index = indexAt(event->position().toPoint());
    if (index < 0 || event->button() != Qt::LeftButton) return;
    setCursor(index);
    emit chosen(sprites_[index]);
}

void SpriteOverviewGrid::contextMenuEvent(QContextMenuEvent* event)
{
    // From the keyboard (the menu key) the menu is the cursor's.
    const bool byKey = event->reason() == QContextMenuEvent::Keyboard;
    const int index = byKey ? cursor_ : indexAt(event->pos());
    if (index < 0) return;
    const QPoint at = byKey ? viewport()->mapToGlobal(qRectOf(layout().boxRect(index, verticalScrollBar()->value())).center())
                            : event->globalPos();
    emit menuRequested(sprites_[index], at);
}

} // namespace tessel

#include "browser/sprite_browser.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QWheelEvent>
#include <qdrawutil.h>
#include <algorithm>

#include "browser/page_arrows.h"
#include "browser/sprite_thumbnail.h"
#include "editor/sprite_selection.h"
#include "model/edit_marks.h"
#include "widgets/dialog_units.h"

namespace tessel {

namespace {

// Where a press or the pointer counts as over a thumbnail, in client pixels
// (right and bottom inclusive here). They do not quite match the cells; the
// gaps between them belong to no slot.
constexpr QRect kHitRects[SpriteBrowser::kSlots] = {
    QRect(QPoint(6, 6), QPoint(69, 85)),     QRect(QPoint(77, 6), QPoint(142, 85)),
    QRect(QPoint(149, 6), QPoint(214, 85)),  QRect(QPoint(220, 6), QPoint(287, 85)),
    QRect(QPoint(6, 108), QPoint(69, 187)),  QRect(QPoint(77, 108), QPoint(142, 187)),
    QRect(QPoint(149, 108), QPoint(214, 187)), QRect(QPoint(220, 108), QPoint(287, 187)),
};

// A control's place in dialog units of the client area, in widget pixels.
QRect clientRect(int x, int y, int w, int h)
{
    return dialogRect(x, y, w, h).translated(SpriteBrowser::kFrame, SpriteBrowser::kFrame);
}

const QCursor& handCursor()
{
    static const QCursor cursor = [] {
        const QPixmap pixmap(QStringLiteral(":/cursors/152.png"));
        return pixmap.isNull() ? QCursor(Qt::PointingHandCursor) : QCursor(pixmap, 11, 6);
    }();
    return cursor;
}

} // namespace

SpriteBrowser::SpriteBrowser(EditorState& state, QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint), state_(state)
{
    setObjectName(QStringLiteral("148"));
    setFixedSize(dialogUnitsToPixelsX(193) + 2 * kFrame, dialogUnitsToPixelsY(134) + 2 * kFrame);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(tr("Sprite browser"));
    setAccessibleDescription(tr("Eight sprites of the ROM as thumbnails; arrow keys and Page Up or Page Down turn the page"));
    buildControls();
}

void SpriteBrowser::buildControls()
{
    for (int k = 0; k < kSlots; ++k) {
        auto* label = new QLabel(this);
        label->setObjectName(QString::number(1051 + k));
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        label->setGeometry(clientRect(3 + 48 * (k % 4), k < 4 ? 52 : 115, 43, 8));
        // The pointer over a label still counts as over the browser.
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        labels_[k] = label;
    }
    pageEdit_ = new QLineEdit(this);
    pageEdit_->setObjectName(QStringLiteral("1059"));
    pageEdit_->setReadOnly(true);
    pageEdit_->setAccessibleName(tr("Page"));
    pageEdit_->setGeometry(clientRect(4, 122, 40, 12));
    pageEdit_->hide();
    connect(pageEdit_, &QLineEdit::textChanged, this, &SpriteBrowser::pageEdited);

    arrows_ = new PageArrows(this);
    arrows_->setObjectName(QStringLiteral("1060"));
    arrows_->setGeometry(clientRect(0, 124, 193, 10));
    connect(arrows_, &PageArrows::stepped, this, &SpriteBrowser::stepPage);
}

QRect SpriteBrowser::editMarkRect(int slot)
{
    return QRect(cellOrigin(slot) + QPoint(kCellWidth + 1, 0), QSize(3, kCellHeight));
}

QPoint SpriteBrowser::cellOrigin(int slot)
{
    return QPoint(5 + 72 * (slot % 4), 5 + 102 * (slot / 4));
}

int SpriteBrowser::slotAt(QPoint clientPoint)
{
    int found = -1;
    for (int k = 0; k < kSlots; ++k)
        if (kHitRects[k].contains(clientPoint)) found = k;
    return found;
}

void SpriteBrowser::placeUnder(QWidget* button)
{
    const QPoint buttonBottomRight = button->mapToGlobal(QPoint(button->width(), button->height()));
    move(buttonBottomRight.x() - frameGeometry().width(), buttonBottomRight.y());
    show();
    raise();
}

void SpriteBrowser::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    showCurrentSpritePage();
    // The keys page only once the browser's window is the active one.
    activateWindow();
    setFocus();
}

void SpriteBrowser::showCurrentSpritePage()
{
    // Every show starts on the current sprite's page (-1 / 8 is page 0).
    showPage(std::clamp(state_.currentSprite / kSlots, 0, kLastPage));
}

void SpriteBrowser::showPage(int page)
{
    const QString text = QString::number(page);
    // The page edit's text drives the page; an unchanged text still counts.
    if (pageEdit_->text() == text)
        pageEdited(text);
    else
        pageEdit_->setText(text);
}

void SpriteBrowser::pageEdited(const QString& text)
{
    if (!state_.romOpen()) return;
    browserPage_ = std::clamp(parseDialogInt(text.toStdString()), 0, kLastPage);
    for (int k = 0; k < kSlots; ++k) labels_[k]->setText(QString::number(browserPage_ * kSlots + k));
    arrows_->showPage(browserPage_, kLastPage + 1);
    update();
}

void SpriteBrowser::stepPage(int delta)
{
    // The arrows stop at the first and last page; they never wrap.
    const int page = parseDialogInt(pageEdit_->text().toStdString()) + delta;
    if (page < 0 || page > kLastPage) return;
    pageEdit_->setText(QString::number(page));
}

void SpriteBrowser::goToPage(int page) { pageEdit_->setText(QString::number(page)); }

void SpriteBrowser::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    qDrawWinPanel(&painter, rect(), palette(), false);
    painter.translate(kFrame, kFrame); // client pixels from here on
    for (int k = 0; k < kSlots; ++k) {
        // With the ROM closed underneath there is nothing to show.
        const int sprite = state_.romOpen() ? browserPage_ * kSlots + k : -1;
        paintSpriteCell(painter, state_, sprite, cellOrigin(k), thumbnail_);
        // An edited sprite that is not saved yet: a bar beside its cell.
        if (isSpriteEdited(state_.document, sprite))
            painter.fillRect(editMarkRect(k), QColor::fromRgb(kEditMarkColour));
    }
}

void SpriteBrowser::mouseMoveEvent(QMouseEvent* event)
{
    browserPointer_ = event->position().toPoint() - QPoint(kFrame, kFrame);
    updateCursor();
    QWidget::mouseMoveEvent(event);
}

void SpriteBrowser::updateCursor()
{
    if (slotAt(browserPointer_) >= 0)
        setCursor(handCursor());
    else
        unsetCursor();
}

void SpriteBrowser::mousePressEvent(QMouseEvent* event)
{
    QWidget::mousePressEvent(event);
    if (event->button() != Qt::LeftButton || !state_.romOpen()) return;
    // The hit test uses the latest move, not the press's own position.
    const int slot = slotAt(browserPointer_);
    if (slot < 0) return;
    emit spriteChosen(browserPage_ * kSlots + slot);
    hide();
}

void SpriteBrowser::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Right:
    case Qt::Key_PageDown:
        stepPage(+1);
        break;
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_PageUp:
        stepPage(-1);
        break;
    case Qt::Key_Home:
        goToPage(0);
        break;
    case Qt::Key_End:
        goToPage(kLastPage);
        break;
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // As a dialog ends on Enter or Escape: hidden, nothing chosen.
        hide();
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void SpriteBrowser::wheelEvent(QWheelEvent* event)
{
    // Turning the wheel towards the user goes on to later sprites; a notch
    // is 120 eighths of a degree, and finer wheels add up to one.
    wheelDelta_ += event->angleDelta().y();
    while (wheelDelta_ <= -120) {
        wheelDelta_ += 120;
        stepPage(+1);
    }
    while (wheelDelta_ >= 120) {
        wheelDelta_ -= 120;
        stepPage(-1);
    }
    event->accept();
}

} // namespace tessel

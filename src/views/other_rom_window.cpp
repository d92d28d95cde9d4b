#include "views/other_rom_window.h"

#include <QFile>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

#include "editor/other_rom.h"
#include "editor/zoomed_view.h"
#include "file/path_names.h"
#include "model/work_surface.h"

namespace tessel {

namespace {
constexpr QSize kDefaultSize{480, 360};
constexpr QSize kMinimumSize{240, 160};
// The list's entries keep what they name in their data.
constexpr int kSpriteRole = Qt::UserRole;
constexpr int kPaletteRole = Qt::UserRole + 1;

QRgb rgbOf(Rgb c) { return qRgb(c.r, c.g, c.b); }
} // namespace

// --- The view ------------------------------------------------------------

OtherSpriteView::OtherSpriteView(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setMinimumSize(64, 80);
    setAccessibleName(tr("The other ROM's sprite"));
}

void OtherSpriteView::showSprite(const RomDocument* other, int sprite)
{
    other_ = other;
    sprite_ = other && sprite >= 0 && sprite < kSpriteCount ? sprite : -1;
    if (sprite_ < 0) setAccessibleDescription(tr("No sprite"));
    else
        setAccessibleDescription(tr("Sprite %1 as the other ROM holds it, %2 times its size")
                                     .arg(sprite_)
                                     .arg(zoom()));
    update();
}

int OtherSpriteView::zoom() const
{
    if (sprite_ < 0) return 1;
    const SpriteRecord& r = other_->spriteStore[sprite_];
    return clampViewZoom(fittingZoom(width(), height(), r.widthPixels(), r.heightPixels()));
}

QPoint OtherSpriteView::origin() const
{
    if (sprite_ < 0) return {};
    const SpriteRecord& r = other_->spriteStore[sprite_];
    const ZoomedLayout l = zoomedLayout(width(), height(), r.widthPixels(), r.heightPixels(), zoom());
    return {l.left, l.top};
}

void OtherSpriteView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(rgbOf(kCanvasGrey)));
    if (sprite_ < 0) return;
    // Each sprite pixel a whole z x z square in the other ROM's palette of
    // the sprite: no scaling filter between the pixels and the screen.
    const SpriteRecord& r = other_->spriteStore[sprite_];
    const DisplayPalette& palette = other_->displayPalettes[r.paletteIndex & 31];
    const int w = std::clamp(r.widthPixels(), 0, kBufferWidth), h = std::clamp(r.heightPixels(), 0, kBufferHeight);
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, rgbOf(colourOf(palette, r.pixels[y * kBufferWidth + x] & 15)));
    const int z = zoom();
    painter.drawImage(QRect(origin(), QSize(w * z, h * z)), image);
}

// --- The window ----------------------------------------------------------

OtherRomWindow::OtherRomWindow(EditorState& state, QWidget* owner)
    : QWidget(owner, Qt::Window), state_(state)
{
    setObjectName(QStringLiteral("otherRom"));
    setMinimumSize(kMinimumSize);
    resize(kDefaultSize);
    line_ = new QLabel(this);
    line_->setObjectName(QStringLiteral("otherRomLine"));
    line_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    view_ = new OtherSpriteView(this);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("otherRomList"));
    list_->setAccessibleName(tr("Sprites and palettes that differ"));
    list_->setAccessibleDescription(tr("Activate a sprite to choose it in the main window"));
    list_->setMaximumWidth(180);

    auto* panes = new QHBoxLayout;
    panes->addWidget(view_, 1);
    panes->addWidget(list_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(line_);
    layout->addLayout(panes, 1);
    connect(list_, &QListWidget::itemActivated, this, &OtherRomWindow::itemActivated);
    updateShown();
}

OtherRomWindow::~OtherRomWindow() = default;

IoResult OtherRomWindow::compareWith(const std::string& path, FileIo& io)
{
    IoResult r = compareWithRom(state_, comparison_, path, io);
    if (!r.ok) return r;
    differencesMoved();
    showAndRaise();
    return r;
}

void OtherRomWindow::closeComparison()
{
    const bool was = comparison_.isOpen();
    tessel::closeComparison(state_, comparison_);
    hide();
    if (was) differencesMoved();
}

IoResult OtherRomWindow::takeSprite() { return takeSpriteFromOther(state_, comparison_); }

void OtherRomWindow::editorChanged()
{
    if (!comparison_.isOpen()) return;
    if (comparison_.updateChanged(state_.document, state_.hasSprite() ? state_.currentSprite : -1))
        differencesMoved();
    else
        updateShown();
}

void OtherRomWindow::romReloaded()
{
    if (!comparison_.isOpen()) return;
    if (!state_.romOpen() || comparison_.key() == state_.document.romFile.key()) return closeComparison();
    comparison_.compareAll(state_.document);
    differencesMoved();
}

void OtherRomWindow::differencesMoved()
{
    fillList();
    updateShown();
    emit differencesChanged();
}

QString OtherRomWindow::otherName() const
{
    return comparison_.isOpen() ? QFile::decodeName(QByteArray::fromStdString(baseName(comparison_.path())))
                                : QString();
}

QString OtherRomWindow::summaryText() const
{
    if (!comparison_.isOpen()) return QString();
    const QString name = otherName();
    const int sprites = comparison_.differingSpriteCount(), palettes = comparison_.differingPaletteCount();
    if (sprites == 0 && palettes == 0) return tr("No sprites or palettes differ from %1").arg(name);
    // Whole sentences, one per number of each, for the translations.
    if (sprites == 1 && palettes == 1) return tr("1 sprite and 1 palette differ from %1").arg(name);
    if (sprites == 1) return tr("1 sprite and %1 palettes differ from %2").arg(palettes).arg(name);
    if (palettes == 1) return tr("%1 sprites and 1 palette differ from %2").arg(sprites).arg(name);
    return tr("%1 sprites and %2 palettes differ from %3").arg(sprites).arg(palettes).arg(name);
}

QString OtherRomWindow::spriteLineText() const
{
    if (!comparison_.isOpen() || !state_.romOpen() || !state_.hasSprite()) return QString();
    const QString name = otherName();
    return comparison_.spriteDiffers(state_.currentSprite)
               ? tr("Sprite %1 differs from %2").arg(state_.currentSprite).arg(name)
               : tr("Sprite %1 is the same in %2").arg(state_.currentSprite).arg(name);
}

void OtherRomWindow::fillList()
{
    list_->clear();
    if (!comparison_.isOpen()) return;
    for (int sprite : comparison_.differingSprites()) {
        auto* item = new QListWidgetItem(tr("Sprite %1").arg(sprite), list_);
        item->setData(kSpriteRole, sprite);
    }
    for (int palette : comparison_.differingPalettes()) {
        auto* item = new QListWidgetItem(tr("Palette %1").arg(palette), list_);
        item->setData(kPaletteRole, palette);
    }
}

void OtherRomWindow::updateShown()
{
    // The title says how many differ and whether the current sprite does,
    // so that the window list alone tells what the comparison found.
    const int sprites = comparison_.differingSpriteCount();
    const QString count = sprites == 1 ? tr("1 sprite differs") : tr("%1 sprites differ").arg(sprites);
    const QString line = spriteLineText();
    if (!comparison_.isOpen()) setWindowTitle(tr("Other ROM"));
    else if (line.isEmpty()) setWindowTitle(tr("Other ROM \u2014 %1").arg(count));
    else setWindowTitle(tr("Other ROM \u2014 %1 \u2014 %2").arg(count, line));
    line_->setText(line);
    line_->setToolTip(QFile::decodeName(QByteArray::fromStdString(comparison_.path())));
    const bool shown = comparison_.isOpen() && state_.romOpen() && state_.hasSprite();
    view_->showSprite(shown ? &comparison_.other() : nullptr, shown ? state_.currentSprite : -1);
}

void OtherRomWindow::itemActivated(QListWidgetItem* item)
{
    const QVariant sprite = item ? item->data(kSpriteRole) : QVariant();
    if (sprite.isValid() && state_.romOpen()) emit spriteChosen(sprite.toInt());
}

void OtherRomWindow::showAndRaise()
{
    if (!placed_ && parentWidget()) {
        // Left of the main window the first time, kept on its screen.
        const QRect owner = parentWidget()->window()->frameGeometry();
        const QScreen* screen = parentWidget()->window()->screen();
        const QRect room = screen ? screen->availableGeometry() : QRect();
        QPoint at(owner.left() - width(), owner.top());
        if (room.isValid()) at.setX(std::max(at.x(), room.left()));
        move(at);
        placed_ = true;
    }
    show();
    raise();
    activateWindow(); // without a window manager nothing else gives it the keys
}

void OtherRomWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        hide();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace tessel

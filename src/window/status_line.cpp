#include "window/status_line.h"

#include "widgets/sprite_label.h"

#include <QCoreApplication>
#include <QLabel>

namespace tessel {

StatusLine::StatusLine(const EditorState& state, QWidget* parent) : QStatusBar(parent), state_(state)
{
    setObjectName(QStringLiteral("statusLine"));
    setSizeGripEnabled(false);
    setFixedHeight(kHeight);
    info_ = new QLabel(this);
    info_->setObjectName(QStringLiteral("statusInfo"));
    addWidget(info_, 1);
    refresh();
}

void StatusLine::showResult(const QString& text) { showMessage(text, kResultMilliseconds); }

void StatusLine::pointerAt(QPoint client)
{
    pointer_ = client;
    pointerInside_ = true;
    refresh();
}

void StatusLine::pointerLeft()
{
    pointerInside_ = false;
    refresh();
}

void StatusLine::refresh()
{
    QString text = pointerInside_ ? pixelText(state_, pointer_) : QString();
    if (text.isEmpty()) text = spriteText(state_, names_);
    if (info_->text() != text) info_->setText(text);
}

QString StatusLine::shownText() const
{
    const QString message = currentMessage();
    return message.isEmpty() ? info_->text() : message;
}

QString StatusLine::spriteText(const EditorState& state, const SpriteNames* names)
{
    if (!state.romOpen()) return tr("No ROM open");
    if (!state.hasSprite()) return QString();
    const SpriteRecord& r = state.current();
    // Catalogue offsets are those of a copier image; a dump holds the tiles
    // 512 bytes earlier.
    const long long offset =
        r.romOffset - (state.document.romFile.hasCopierHeader() ? 0 : RomFile::kCopierHeaderBytes);
    const QString label = names ? spriteLabel(*names, state.currentSprite) : QString();
    const QString sprite = label.isEmpty()
                               ? QString::number(state.currentSprite)
                               : QCoreApplication::translate("StatusLine", "%1 %2").arg(state.currentSprite).arg(label);
    return tr("Sprite %1: %2 \u00d7 %3 tiles, palette %4, file offset 0x%5")
        .arg(sprite)
        .arg(r.widthTiles)
        .arg(r.heightTiles)
        .arg(r.paletteIndex)
        .arg(QString::number(offset, 16).toUpper());
}

QString StatusLine::pixelText(const EditorState& state, QPoint client)
{
    if (!state.romOpen() || !state.hasSprite()) return QString();
    const int dx = client.x() - kCanvasMargin, dy = client.y() - kCanvasMargin;
    if (dx < 0 || dy < 0) return QString();
    const int x = dx / kZoom, y = dy / kZoom;
    if (x >= kBufferWidth || y >= kBufferHeight) return QString();
    const SpriteRecord& r = state.current();
    if (x >= r.widthPixels() || y >= r.heightPixels())
        return tr("x %1, y %2: outside the sprite").arg(x).arg(y);
    return tr("x %1, y %2: color %3").arg(x).arg(y).arg(r.pixels[y * kBufferWidth + x] & 15);
}

QString spriteSavedText(int sprite, int tiles, const QString& romName)
{
    return QCoreApplication::translate("StatusLine", "Saved sprite %1 (%2 %3) to %4")
        .arg(sprite)
        .arg(tiles)
        .arg(tiles == 1 ? QCoreApplication::translate("StatusLine", "tile") : QCoreApplication::translate("StatusLine", "tiles"), romName);
}

QString spritesSavedText(int sprites)
{
    return sprites == 1 ? QCoreApplication::translate("StatusLine", "Saved 1 sprite") : QCoreApplication::translate("StatusLine", "Saved %1 sprites").arg(sprites);
}

QString nothingToSaveText() { return QCoreApplication::translate("StatusLine", "Nothing to save"); }

QString paletteWrittenText(int palette) { return QCoreApplication::translate("StatusLine", "Palette %1 written").arg(palette); }

} // namespace tessel

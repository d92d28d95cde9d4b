#include "dialogs/sprite_info_dialog.h"

#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

#include "browser/sprite_thumbnail.h"
#include "model/edit_marks.h"
#include "widgets/dialog_units.h"
#include "widgets/sprite_label.h"

namespace tessel {

namespace {

void addLabel(QDialog* dialog, const char* text, int y)
{
    auto* label = new QLabel(QCoreApplication::translate("SpriteInfoDialog", text), dialog);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setGeometry(dialogRect(50, y, 29, 8));
}

void addNumberField(QDialog* dialog, int id, int y, const QString& value, const QString& name)
{
    auto* field = new QLineEdit(value, dialog);
    field->setAccessibleName(name);
    field->setObjectName(QString::number(id));
    field->setReadOnly(true);
    field->setGeometry(dialogRect(86, y, 27, 12));
}

} // namespace

SpriteInfoDialog::SpriteInfoDialog(EditorState& state, QWidget* parent, const SpriteNames* names)
    : QDialog(parent), state_(state)
{
    setObjectName(QStringLiteral("181"));
    setFixedSize(dialogUnitsToPixelsX(153), dialogUnitsToPixelsY(89));
    setWindowTitle(tr("Sprite #%1").arg(state.currentSprite));

    auto* ok = new QPushButton(tr("OK"), this);
    ok->setObjectName(QStringLiteral("1"));
    ok->setGeometry(dialogRect(86, 72, 64, 14));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    addLabel(this, QT_TRANSLATE_NOOP("SpriteInfoDialog", "Width:"), 11);
    addLabel(this, QT_TRANSLATE_NOOP("SpriteInfoDialog", "Height:"), 25);
    addLabel(this, QT_TRANSLATE_NOOP("SpriteInfoDialog", "Palette:"), 38);
    // Width and height are shown in tiles, not pixels.
    QString width, height, palette;
    if (state.hasSprite()) {
        const SpriteRecord& record = state.current();
        width = QString::number(record.widthTiles);
        height = QString::number(record.heightTiles);
        palette = QString::number(record.paletteIndex);
    }
    addNumberField(this, 1102, 9, width, tr("Width in tiles"));
    addNumberField(this, 1103, 23, height, tr("Height in tiles"));
    addNumberField(this, 1104, 36, palette, tr("Palette"));

    // Under the palette, beside the fields: the name and star it was given.
    if (const QString label = names && state.hasSprite() ? spriteLabel(*names, state.currentSprite) : QString();
        !label.isEmpty()) {
        auto* caption = new QLabel(tr("Name:"), this);
        caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        caption->setGeometry(dialogRect(50, 52, 29, 8));
        auto* field = new QLineEdit(label, this);
        field->setObjectName(QStringLiteral("spriteName"));
        field->setReadOnly(true);
        field->setCursorPosition(0);
        field->setAccessibleName(tr("Name"));
        if (names->starred(state.currentSprite)) field->setAccessibleDescription(tr("Starred"));
        field->setGeometry(dialogRect(86, 50, 64, 12));
    }

    // Under the picture: whether the sprite has edits not saved yet.
    if (isSpriteEdited(state.document, state.currentSprite)) {
        auto* edited = new QLabel(tr("Edited, not saved"), this);
        edited->setObjectName(QStringLiteral("editedNote"));
        edited->setGeometry(dialogRect(3, 56, 78, 9));
    }

    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(dialogRect(3, 67, 147, 1));
}

void SpriteInfoDialog::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // The ROM may have been closed underneath (no current sprite): then the
    // box stays black.
    paintSpriteCell(painter, state_, state_.currentSprite, pictureBox().topLeft(), thumbnail_);
}

} // namespace tessel

#include "dialogs/palette_editor_dialog.h"

#include <QCoreApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

#include "dialogs/raw_colour.h"

#include <QLabel>
#include "editor/sprite_selection.h"
#include "interchange/art_exchange.h"
#include "file/file_access.h"
#include "file/path_names.h"
#include "interchange/palette_files.h"
#include "rom/rom_session.h"
#include "widgets/accessible_text.h"
#include "widgets/color_swatch.h"
#include "widgets/dialog_units.h"
#include "widgets/file_choices.h"
#include "widgets/rom_conversation.h"
#include "widgets/user_prompts.h"

namespace tessel {

namespace {
constexpr int kSwatchWidth = 24, kSwatchHeight = 18;
constexpr int kPreviewWidth = 29, kPreviewHeight = 21;
} // namespace

PaletteEditorDialog::PaletteEditorDialog(EditorState& state, UserPrompts& prompts, QWidget* parent)
    : QDialog(parent), state_(state), prompts_(prompts), controls_(buildPaletteEditorControls(this))
{
    const int palette = state.hasSprite() ? (state.current().paletteIndex & 31) : 0;
    controls_.paletteCombo->setCurrentIndex(palette);
    selectedColour_ = state.tools.foregroundIndex & 15;
    loadEditedPalette(palette);
    selectColour(state.tools.foregroundIndex & 15);

    // Connected once the first colour is shown: only the user's changes act.
    for (int i = 0; i < 3; ++i) {
        connect(controls_.sliders[i], &QSlider::valueChanged, this,
                [this, i](int position) { sliderMoved(i, position); });
        connect(controls_.fields[i], &QLineEdit::textChanged, this, [this] { numberTyped(); });
    }
    for (int k = 0; k < 16; ++k)
        connect(controls_.swatches[k], &ColorSwatch::clicked, this, [this, k] { selectColour(k); });
    connect(controls_.paletteCombo, &QComboBox::currentIndexChanged, this,
            [this](int index) { loadEditedPalette(index); });
    connect(controls_.addButton, &QPushButton::clicked, this, [this] { addColour(); });
    connect(controls_.applyButton, &QPushButton::clicked, this, [this] { applyChanges(); });
    // A ROM open read-only takes no palette: the colours are only looked at.
    controls_.applyButton->setEnabled(!state.document.romFile.isReadOnly());
    connect(controls_.chooseButton, &QPushButton::clicked, this, [this] { chooseColour(); });
    connect(controls_.closeButton, &QPushButton::clicked, this, &QDialog::reject);

    // Palette files, in the free space between Apply Changes and Close.
    auto* importButton = new QPushButton(tr("Import…"), this);
    importButton->setObjectName(QStringLiteral("paletteImport"));
    importButton->setGeometry(dialogRect(96, 110, 35, 14));
    auto* exportButton = new QPushButton(tr("Export…"), this);
    exportButton->setObjectName(QStringLiteral("paletteExport"));
    exportButton->setGeometry(dialogRect(133, 110, 35, 14));
    for (QPushButton* b : {importButton, exportButton}) b->setAutoDefault(false);
    connect(importButton, &QPushButton::clicked, this, [this] { importColours(); });
    connect(exportButton, &QPushButton::clicked, this, [this] { exportColours(); });
}

namespace {
QString paletteFilter()
{
    return QCoreApplication::translate("PaletteEditorDialog", "Palette files (*.gpl *.pal *.act *.bin);;GIMP palettes (*.gpl);;JASC palettes (*.pal);;"
                   "Adobe color tables (*.act);;SNES palettes and CGRAM dumps (*.bin)");
}

QString fileNameOf(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(baseName(path))); }
} // namespace

// Colours 1..15 of the file replace the working copy's; Apply writes them.
// A CGRAM dump holds 16 palettes: the user picks one, this one's number
// offered.
void PaletteEditorDialog::importColours()
{
    const std::string& romPath = state_.document.romFile.path();
    const std::string path =
        askOpenPath(prompts_, this, FileKind::Palette, tr("Import Palette"), paletteFilter(), romPath);
    if (path.empty()) return;
    int fromDump = editedPalette_ % kCgramPalettes;
    if (isCgramDump(path)) {
        const auto chosen = prompts_.choosePaletteNumber(
            this, tr("%1 is a CGRAM dump of 16 palettes. Take which one?").arg(fileNameOf(path)), fromDump,
            kCgramPalettes);
        if (!chosen) return;
        fromDump = *chosen;
    }
    const auto colours = importPaletteFile(path, fromDump);
    if (!colours.ok) {
        prompts_.error(this, QString::fromStdString(colours.error));
        return;
    }
    takePaletteColours(working_, colours.value);
    for (int k = 1; k < 16; ++k) paintSwatch(k, false);
    selectColour(selectedColour_);
    showUnapplied();
    showStatusResult(this, tr("Palette %1: colors taken from %2, not yet applied")
                               .arg(editedPalette_)
                               .arg(fileNameOf(path)));
}

// The working copy as shown, applied or not.
void PaletteEditorDialog::exportColours()
{
    const std::string& romPath = state_.document.romFile.path();
    const QString suggested = QStringLiteral("%1-palette-%2.gpl")
                                  .arg(QFile::decodeName(QByteArray::fromStdString(romStem(romPath))))
                                  .arg(editedPalette_, 2, 10, QLatin1Char('0'));
    const std::string file =
        askSavePath(prompts_, this, FileKind::Palette, tr("Export Palette"), paletteFilter(), romPath, suggested);
    if (file.empty()) return;
    if (const IoResult r = exportPalette(file, state_.document, editedPalette_, working_); !r.ok) {
        prompts_.error(this, QString::fromStdString(r.error));
        return;
    }
    showStatusResult(this, tr("Palette %1 written to %2").arg(editedPalette_).arg(fileNameOf(file)));
}

void PaletteEditorDialog::setComposedColour(int red, int green, int blue, bool updateSliders,
                                            bool updateFields)
{
    const int given[3] = {red, green, blue};
    for (int i = 0; i < 3; ++i)
        if (given[i] != kKeep) composed_[i] = clampRaw(given[i]);
    for (int i = 0; i < 3; ++i) {
        acceptInput_ = false;
        if (updateSliders) controls_.sliders[i]->setValue(composed_[i]);
        if (updateFields) controls_.fields[i]->setText(QString::number(composed_[i]));
    }
    controls_.preview->setColor(kPreviewWidth, kPreviewHeight, shownComponent(composed_[0]),
                                shownComponent(composed_[1]), shownComponent(composed_[2]),
                                static_cast<int>(SwatchBorder::Black));
    controls_.composedWord->setText(snesWordText(composed_[0], composed_[1], composed_[2]));
    setAccessibleDescriptionIfChanged(controls_.preview, tr("Red %1, green %2, blue %3")
                                                             .arg(composed_[0])
                                                             .arg(composed_[1])
                                                             .arg(composed_[2]));
    acceptInput_ = true;
}

void PaletteEditorDialog::sliderMoved(int component, int position)
{
    if (!acceptInput_) return;
    acceptInput_ = false;
    int rgb[3] = {kKeep, kKeep, kKeep};
    rgb[component] = position;
    setComposedColour(rgb[0], rgb[1], rgb[2], false, true);
}

void PaletteEditorDialog::numberTyped()
{
    if (!acceptInput_) return;
    acceptInput_ = false;
    // Text that is no number reads as 0; anything outside 0..31 is clamped,
    // so no other value reaches the working copy or the ROM.
    int rgb[3];
    for (int i = 2; i >= 0; --i)
        rgb[i] = clampRaw(parseDialogInt(controls_.fields[i]->text().toStdString()));
    setComposedColour(rgb[0], rgb[1], rgb[2], true, false);
}

void PaletteEditorDialog::paintSwatch(int k, bool highlighted)
{
    controls_.swatches[k]->setToolTip(
        k == 0 ? tr("Color 0: transparent, not stored")
               : tr("Color %1: red %2, green %3, blue %4 (%5)")
                     .arg(k)
                     .arg(working_.red[k])
                     .arg(working_.green[k])
                     .arg(working_.blue[k])
                     .arg(snesWordText(working_.red[k], working_.green[k], working_.blue[k])));
    controls_.swatches[k]->setColor(
        kSwatchWidth, kSwatchHeight, shownComponent(working_.red[k]), shownComponent(working_.green[k]),
        shownComponent(working_.blue[k]),
        static_cast<int>(highlighted ? SwatchBorder::Blue : SwatchBorder::Shaded));
    controls_.swatches[k]->setAccessibleName(
        colourAccessibleName(k, working_.red[k], working_.green[k], working_.blue[k]));
}

void PaletteEditorDialog::selectColour(int k)
{
    paintSwatch(selectedColour_, false);
    selectedColour_ = k;
    paintSwatch(k, true);
    controls_.addButton->setEnabled(k != 0); // colour 0 is never stored
    setComposedColour(working_.red[k], working_.green[k], working_.blue[k], true, true);
}

void PaletteEditorDialog::loadEditedPalette(int palette)
{
    // Whatever was added to the previous palette and not applied is dropped.
    editedPalette_ = palette & 31;
    const RawPalette& stored = state_.document.rawPalettes[editedPalette_];
    for (int k = 0; k < 16; ++k) {
        working_.red[k] = clampRaw(stored.red[k]);
        working_.green[k] = clampRaw(stored.green[k]);
        working_.blue[k] = clampRaw(stored.blue[k]);
        paintSwatch(k, false);
    }
    selectColour(0);
    showUnapplied();
}

void PaletteEditorDialog::addColour()
{
    if (selectedColour_ == 0) return; // transparent, not stored
    working_.red[selectedColour_] = composed_[0];
    working_.green[selectedColour_] = composed_[1];
    working_.blue[selectedColour_] = composed_[2];
    paintSwatch(selectedColour_, true);
    showUnapplied();
}

bool PaletteEditorDialog::hasUnappliedChanges() const
{
    const RawPalette& stored = state_.document.rawPalettes[editedPalette_];
    for (int k = 1; k < 16; ++k)
        if (working_.red[k] != stored.red[k] || working_.green[k] != stored.green[k] ||
            working_.blue[k] != stored.blue[k])
            return true;
    return false;
}

void PaletteEditorDialog::showUnapplied() { emit unappliedChangesChanged(hasUnappliedChanges()); }

void PaletteEditorDialog::reject()
{
    if (hasUnappliedChanges()) {
        switch (prompts_.askApplyPalette(this, editedPalette_)) {
        case SaveChoice::Save:
            if (!applyChanges()) return; // the user has been told; the work stays
            break;
        case SaveChoice::Discard: break;
        case SaveChoice::Cancel: return;
        }
    }
    QDialog::reject();
}

bool PaletteEditorDialog::applyChanges()
{
    if (!state_.romOpen()) {
        prompts_.error(this, tr("No ROM is open, so palette %1 was not written.").arg(editedPalette_));
        return false;
    }
    if (state_.document.romFile.isReadOnly()) {
        prompts_.error(this, tr("The ROM is open read-only, so palette %1 was not written.").arg(editedPalette_));
        return false;
    }
    // The questions about the file are the ROM conversation's; the backup
    // before the write comes in as beforeWrite_ from the main window's.
    const SaveResult written = RomConversation(prompts_).write(
        this, state_.document.romFile.path(),
        [this](const SaveOptions& options) { return writePalette(state_.document, editedPalette_, working_, options); },
        beforeWrite_);
    if (RomConversation::alreadyTold(written)) return false;
    // Only a palette that reached the disk is read back: after a failed
    // write the store keeps the palette as loaded, so that the next Apply
    // writes every changed colour again, whatever the system's cache holds.
    const IoResult reread = written.ok ? loadPalette(state_.document, editedPalette_) : IoResult::success();
    showUnapplied();
    if (!written.ok) {
        prompts_.error(this, tr("Palette %1 could not be written to the ROM: %2")
                                 .arg(editedPalette_)
                                 .arg(QString::fromStdString(written.error)));
        return false;
    }
    emit paletteWritten(editedPalette_);
    if (!reread.ok) {
        prompts_.error(this, tr("Palette %1 was written but could not be read back: %2")
                                 .arg(editedPalette_)
                                 .arg(QString::fromStdString(reread.error)));
    }
    return true;
}

void PaletteEditorDialog::chooseColour()
{
    const QColor initial(chooserComponent(composed_[0]), chooserComponent(composed_[1]),
                         chooserComponent(composed_[2]));
    const std::optional<QColor> chosen = prompts_.chooseColour(this, initial);
    if (!chosen) return; // cancelled: nothing changes
    setComposedColour(rawFromChosen(chosen->red()), rawFromChosen(chosen->green()),
                      rawFromChosen(chosen->blue()), true, true);
}

} // namespace tessel

// File > Compare With and Edit > Take Sprite from Other ROM: the file
// dialog and what the user is told; the comparison's window is
// views/other_rom_window.h.
#include <QFile>
#include <QFileInfo>

#include "views/other_rom_window.h"
#include "editor/sprite_selection.h"
#include "window/main_window.h"
#include "window/open_rom_dialog.h"
#include "widgets/local_path.h"
#include "widgets/user_prompts.h"

namespace tessel {

void MainWindow::createOtherRomWindow()
{
    otherRom_ = new OtherRomWindow(state_, this);
    connect(otherRom_, &OtherRomWindow::spriteChosen, this, [this](int sprite) {
        if (state_.romOpen()) selectSprite(state_, sprite);
    });
}

void MainWindow::compareWithCommand()
{
    const QString romFolder =
        QFileInfo(QFile::decodeName(QByteArray::fromStdString(state_.document.romFile.path()))).absolutePath();
    const QString filters = QStringLiteral("%1;;%2").arg(tr(kRomFilter), tr(kAllFilesFilter));
    const QString path = prompts_.openFile(this, {tr("Compare With Another ROM"), filters, romFolder});
    if (path.isEmpty()) return;
    const IoResult r = otherRom_->compareWith(localPathOf(path), state_.document.romFile.io());
    if (!r.ok) {
        prompts_.error(this, withReason(tr("The ROM cannot be compared with this file."), r.error));
        return;
    }
    showStatus(otherRom_->summaryText());
}

void MainWindow::takeSpriteCommand()
{
    // A sprite that is already the other ROM's needs no edit: a status
    // line is enough to say so.
    if (state_.hasSprite() && !otherRom_->spriteDiffers(state_.currentSprite)) {
        showStatus(otherRom_->spriteLineText());
        return;
    }
    const int sprite = state_.currentSprite;
    const IoResult r = otherRom_->takeSprite();
    if (!r.ok) {
        prompts_.error(this, withReason(tr("The sprite could not be taken from the other ROM."), r.error));
        return;
    }
    showStatus(tr("Sprite %1 taken from %2").arg(sprite).arg(otherRom_->otherName()));
}

} // namespace tessel

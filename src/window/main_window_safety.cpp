// Saving from the main window: Save Current Sprite, Save All Sprites, the
// question before unsaved edits are let go, and the backup before the
// first write into a ROM. What each write says and asks is the ROM
// conversation's (widgets/rom_conversation.h).
#include "window/main_window.h"

#include "window/status_line.h"
#include "editor/rom_commands.h"
#include "model/edit_marks.h"
#include "rom/rom_copy.h"
#include "rom/rom_session.h"
#include "rom/unsaved_sprites.h"
#include "widgets/local_path.h"
#include "widgets/user_prompts.h"

namespace tessel {

bool MainWindow::backupBeforeWrite() { return conversation_.backupBeforeWrite(this, state_.document.romFile); }

bool MainWindow::saveCurrentSpriteCommand()
{
    const int sprite = state_.currentSprite;
    return saveCommand([this](const SaveOptions& options) { return saveCurrentSprite(state_, options); },
                       tr("The sprite could not be saved to the ROM."), sprite);
}

bool MainWindow::saveAllSpritesCommand()
{
    return saveCommand([this](const SaveOptions& options) { return saveAllSprites(state_.document, options); },
                       tr("The sprites could not all be saved to the ROM."), -1);
}

bool MainWindow::saveCommand(const std::function<SaveResult(const SaveOptions&)>& save, const QString& failure,
                             int sprite)
{
    const SaveResult result =
        conversation_.write(this, state_.document.romFile.path(), save, [this] { return backupBeforeWrite(); });
    const bool saved = conversation_.report(this, result, failure);
    if (saved) noteSaved(result, sprite);
    return saved;
}

void MainWindow::noteSaved(const SaveResult& result, int sprite)
{
    if (result.tilesWritten == 0)
        showStatus(nothingToSaveText());
    else if (sprite >= 0)
        showStatus(spriteSavedText(sprite, result.tilesWritten, romName()));
    else
        showStatus(spritesSavedText(result.spritesSaved));
}

void MainWindow::saveCopyCommand()
{
    const QString chosen = prompts_.saveFilePath(this, tr("Save a Copy As"),
                                                 tr("SNES ROM files (*.smc *.sfc);;All files (*)"));
    if (chosen.isEmpty()) return;
    const std::string path = localPathOf(chosen);
    RomCopy copy;
    const IoResult written = saveRomCopy(state_.document, path, &copy);
    if (!written.ok) {
        prompts_.error(this, withReason(tr("The copy could not be written."), written.error));
        return;
    }
    const QString name = romDisplayName(path);
    showStatus(copy.spritesChanged == 1
                   ? tr("Wrote a copy with 1 edited sprite to %1").arg(name)
                   : tr("Wrote a copy with %1 edited sprites to %2").arg(copy.spritesChanged).arg(name));
    if (!copy.unsavedSprites.empty()) {
        SaveResult past;
        past.unsavedSprites = copy.unsavedSprites;
        conversation_.report(this, past, QString());
    }
}

bool MainWindow::mayDiscardEdits()
{
    if (!state_.romOpen() || !hasUnsavedEdits(state_.document)) return true;
    switch (prompts_.askSaveChanges(this, romName(), unsavedSpriteCount(state_.document))) {
    case SaveChoice::Save: return saveAllSpritesCommand();
    case SaveChoice::Discard: return true;
    case SaveChoice::Cancel: return false;
    }
    return false;
}

} // namespace tessel

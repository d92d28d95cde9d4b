// The main window's safety net around writing: the backup before the
// first write into a ROM.
#include <algorithm>
#include <ctime>

#include "app/main_window.h"
#include "app/recovery_keeper.h"
#include "file/state_files.h"
#include "rom/rom_backup.h"
#include "widgets/file_conversation.h"
#include "widgets/user_prompts.h"

namespace tessel {

bool MainWindow::backupBeforeWrite()
{
    if (!state_.romOpen()) return true;
    const RecoveryInfo& rom = recovery_->rom();
    if (std::find(backedUp_.begin(), backedUp_.end(), rom.romKey) != backedUp_.end()) return true;
    // A file replaced or deleted by another program is no file to back up;
    // the save's own check refuses to write into it and says so.
    FileKey now;
    if (!fileKeyOfPath(rom.romPath, now).ok || now != rom.romKey) return true;
    const IoResult made = backupRom(rom.romPath, rom.romKey, backupDirectory(), std::time(nullptr));
    if (!made.ok &&
        !prompts_.askYesNoDefaultNo(this, QStringLiteral("%1 could not be backed up: %2. Save anyway?")
                                              .arg(romDisplayName(state_.romFile.path()),
                                                   QString::fromStdString(made.error))))
        return false;
    // Asked once: a later write of the same run is no longer the first.
    backedUp_.push_back(rom.romKey);
    return true;
}

} // namespace tessel

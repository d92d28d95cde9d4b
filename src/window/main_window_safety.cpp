// The main window's safety net around writing: the backup before the
// first write into a ROM.
#include <algorithm>
#include <ctime>

#include "window/main_window.h"
#include "rom/rom_backup.h"
#include "widgets/file_conversation.h"
#include "widgets/user_prompts.h"

namespace tessel {

bool MainWindow::backupBeforeWrite()
{
    // Runs after the save's own check of the file (a file replaced or
    // deleted by another program is refused before this).
    if (!state_.romOpen()) return true;
    const RomFile& rom = state_.document.romFile;
    if (std::find(backedUp_.begin(), backedUp_.end(), rom.key()) != backedUp_.end()) return true;
    const IoResult made = backupRom(rom.path(), rom.key(), backupDirectory(), std::time(nullptr));
    if (!made.ok &&
        !prompts_.askYesNoDefaultNo(this, QStringLiteral("%1 could not be backed up: %2. Save anyway?")
                                              .arg(romDisplayName(state_.document.romFile.path()),
                                                   QString::fromStdString(made.error))))
        return false;
    // Asked once: a later write of the same run is no longer the first.
    backedUp_.push_back(rom.key());
    return true;
}

} // namespace tessel

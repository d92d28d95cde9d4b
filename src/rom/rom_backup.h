// Backups of a ROM made before the program first writes into it in a run:
// the whole file, copied to $XDG_STATE_HOME/tessel/backups/ as
// NAME.YYYYMMDD-HHMMSS.bak (local time; NAME.YYYYMMDD-HHMMSS-2.bak and on
// when that second already has one) and synced. Only the ten newest of
// each ROM name are kept.
#pragma once

#include <ctime>
#include <string>
#include <vector>

#include "file/rom_file.h"

namespace tessel {

inline constexpr int kBackupsKept = 10;

std::string backupDirectory();

// NAME for the ROM at `romPath`: its file name, shortened so that the
// backup's name fits in a file name.
std::string backupName(const std::string& romPath);

// Copies the ROM at `romPath` into `dir` (created if missing) and prunes
// the older backups of its name to `keep`. The copy is made only when the
// file there is still `romKey`, the file that was opened (the key taken
// at open); it is read through a descriptor of its own, so that the open
// ROM's file layer sees no extra calls. `madePath` receives the new
// backup's path. A folder that others may write is not used (see
// checkStateFolder). An older backup that cannot be removed is reported as
// a failure, although the new backup was made.
// Call flow: openRegularFile -> makeDirectories -> createExclusive ->
// copy -> syncAndClose -> link under a free name -> syncFolder -> prune.
IoResult backupRom(const std::string& romPath, const FileKey& romKey, const std::string& dir, std::time_t now,
                   std::string* madePath = nullptr, int keep = kBackupsKept, FileIo& io = systemFileIo());

// The backup this process made of the ROM with key `romKey` (the copy of it
// from before this run first wrote it), or "" when it made none.
std::string backupMadeThisRun(const FileKey& romKey);

// The backups of NAME `name` in `dir`, oldest first.
std::vector<std::string> backupsOf(const std::string& dir, const std::string& name, FileIo& io = systemFileIo());

} // namespace tessel

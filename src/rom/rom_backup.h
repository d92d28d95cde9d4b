// Backups of a ROM made before the program first writes into it in a run:
// the whole file, copied to $XDG_STATE_HOME/tessel/backups/ as
// NAME.YYYYMMDD-HHMMSS.bak (local time; NAME.YYYYMMDD-HHMMSS-2.bak and on
// when that second already has one) and synced, its holes kept as holes.
// NAME is the ROM's file name and a short hash of its folder, so that
// game.smc in two folders has two sets; only the ten newest of each set
// are kept. Backups named by the file name alone (before the hash) are
// never pruned.
#pragma once

#include <atomic>
#include <ctime>
#include <string>
#include <vector>

#include "file/rom_file.h"

namespace tessel {

inline constexpr int kBackupsKept = 10;

struct BackupProgress {
    std::atomic<long long> done{0};  // bytes of the file dealt with
    std::atomic<long long> total{0}; // its length, once known
};

std::string backupDirectory();

// NAME for the ROM at `romPath`: its file name, shortened so that the
// backup's name fits in a file name, then "-" and eight hex digits of a
// hash of its folder's canonical path ("game.smc-1a2b3c4d").
std::string backupName(const std::string& romPath);

// Copies the ROM at `romPath` into `dir` (created if missing) and prunes
// the older backups of its name to `keep`. The copy is made only when the
// file there is still `romKey`, the file that was opened (the key taken
// at open); it is read through a descriptor of its own, so that the open
// ROM's file layer sees no extra calls. `madePath` receives the new
// backup's path. A folder that others may write is not used (see
// checkStateFolder). An older backup that cannot be removed is reported as
// a failure, although the new backup was made.
// The copy moves data only: each data region found by SEEK_DATA and
// SEEK_HOLE is copied, and the new file is given the ROM's length, so a
// sparse file's backup is as sparse. `progress`, when given, says how far
// the copy is (for the window, read from any thread).
// Call flow: openRegularFile -> makeDirectories -> createExclusive ->
// copy -> syncAndClose -> link under a free name -> syncFolder -> prune.
IoResult backupRom(const std::string& romPath, const FileKey& romKey, const std::string& dir, std::time_t now,
                   std::string* madePath = nullptr, int keep = kBackupsKept, FileIo& io = systemFileIo(),
                   BackupProgress* progress = nullptr);

// The backup this process made of the ROM with key `romKey` (the copy of it
// from before this run first wrote it), or "" when it made none.
std::string backupMadeThisRun(const FileKey& romKey);

// The backups of NAME `name` in `dir`, oldest first.
std::vector<std::string> backupsOf(const std::string& dir, const std::string& name, FileIo& io = systemFileIo());

} // namespace tessel

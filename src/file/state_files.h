// The files the program keeps for itself beside the user's ROMs: recovery
// files of unsaved edits and backups of ROMs, under
// $XDG_STATE_HOME/tessel/ (~/.local/state/tessel/ when that is not set).
//
// Every file is written whole or not at all: into a temporary file in the
// same folder, synced, then renamed (or linked) into place, and the folder
// synced, so that a crash or a power cut leaves either the old file or the
// new one, never a part of one.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "file/rom_file.h"

namespace tessel {

// $XDG_STATE_HOME/tessel/<sub> (an XDG_STATE_HOME that is not an absolute
// path is ignored, as the XDG rules say), else $HOME/.local/state/tessel/<sub>.
// Empty when neither names a home.
std::string stateDirectory(const std::string& sub);

// Creates `path` and any missing parents (mode 0700).
IoResult makeDirectories(const std::string& path);

// Replaces dir/name with `bytes` through dir/name.tmp: write, fsync,
// rename, fsync of the folder. On failure dir/name is as it was.
IoResult replaceFileDurably(const std::string& dir, const std::string& name,
                            std::span<const std::uint8_t> bytes);

// Removes dir/name and syncs the folder; a file that is not there is no
// failure.
IoResult removeFileDurably(const std::string& dir, const std::string& name);

// Flushes a folder's entries (a rename or unlink in it) to the disk.
IoResult syncDirectory(const std::string& dir);

// The device and inode of the file at `path` (symbolic links followed).
IoResult fileKeyOfPath(const std::string& path, FileKey& key);

// The final part of a path ("game.smc" of "/roms/game.smc").
std::string baseName(const std::string& path);

} // namespace tessel

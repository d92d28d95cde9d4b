// The folders and files the program keeps for itself beside the user's
// ROMs: recovery files of unsaved edits and backups of ROMs, under
// $XDG_STATE_HOME/tessel/ (~/.local/state/tessel/ when that is not set).
//
// The folders are made 0700 and used only while they stay the user's own:
// a folder that another user owns, that group or others may write, or
// that is a symbolic link could let someone else prepare or read the
// files in it. Every operation here checks the folder first and fails
// with a sentence saying so; the callers go on without recovery files and
// backups.
//
// replaceFileDurably: checkStateFolder -> replaceFile (durable_file.h, 0600).
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "file/file_access.h" // fileKeyOfPath, for the callers of these
#include "file/file_io.h"
#include "file/outcome.h"
#include "file/path_names.h"  // baseName, likewise

namespace tessel {

// $XDG_STATE_HOME/tessel/<sub> (an XDG_STATE_HOME that is not an absolute
// path is ignored, as the XDG rules say), else $HOME/.local/state/tessel/<sub>.
// Empty when neither names a home.
std::string stateDirectory(const std::string& sub);

// Fails unless `dir` is a folder (not a link to one) that the effective
// user owns and no one else may write; the same of its parent when that
// is the program's own tessel/ folder.
// `keeps` names what the program would keep there, for that sentence.
inline constexpr char kStateFilesKept[] = "recovery files or backups";
IoResult checkStateFolder(const std::string& dir, FileIo& io = systemFileIo(), const char* keeps = kStateFilesKept);

// Creates `path` and any missing parents (mode 0700), then checks it as
// checkStateFolder does.
IoResult makeDirectories(const std::string& path, FileIo& io = systemFileIo(), const char* keeps = kStateFilesKept);

// $XDG_DATA_HOME/tessel (an XDG_DATA_HOME that is not absolute is
// ignored), else $HOME/.local/share/tessel: the user's own data, such as
// the names of sprites. Empty when neither names a home.
std::string dataDirectory();

// Replaces dir/name with `bytes` (mode 0600). On failure dir/name is as it
// was.
IoResult replaceFileDurably(const std::string& dir, const std::string& name,
                            std::span<const std::uint8_t> bytes, FileIo& io = systemFileIo());

// Removes dir/name and syncs the folder; a file that is not there is no
// failure.
IoResult removeFileDurably(const std::string& dir, const std::string& name, FileIo& io = systemFileIo());

} // namespace tessel

// Writing files so that a crash, a power cut or a full disk leaves the old
// file or the new one, never a part of one, and no name anyone else could
// have prepared is ever opened.
//
// replaceFile: createExclusive beside the target -> writeAll -> fsync ->
//              close -> rename over the target -> syncFolder.
//              Any failure removes the temporary file and leaves the target
//              as it was.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "file/file_io.h"
#include "file/outcome.h"

namespace tessel {

enum class FileMode : unsigned {
    Private = 0600, // the program's own state: recovery files, backups
    Shared = 0666,  // the user's exports, narrowed by the umask
};

// A file just made, open for writing.
struct NewFile {
    int fd = -1;
    std::string path;
};

// A new, empty file in folder `dir` named "." + `stem` + "." + random hex
// + ".tmp", created with O_CREAT | O_EXCL (so that nothing already there,
// a symbolic link least of all, is opened) and `mode`.
Outcome<NewFile> createExclusive(FileIo& io, const std::string& dir, const std::string& stem, FileMode mode);

// Writes all of `bytes` at `offset`, retrying short writes. A failure says
// "Cannot write WHAT: reason", `what` being a path or "to the ROM".
IoResult writeAll(FileIo& io, int fd, long long offset, std::span<const std::uint8_t> bytes,
                  const std::string& what);

// Flushes the new file's bytes to the disk and closes it.
IoResult syncAndClose(FileIo& io, NewFile& file);
// Closes the new file if it is still open and removes it.
void discard(FileIo& io, NewFile& file);

// Flushes a folder's entries (a rename, link or unlink in it) to the disk.
IoResult syncFolder(FileIo& io, const std::string& dir);

// The folder part of a path ("." for a bare name).
std::string folderOf(const std::string& path);

// Replaces the file at `path` with `bytes`, as above.
IoResult replaceFile(const std::string& path, std::span<const std::uint8_t> bytes, FileMode mode,
                     FileIo& io = systemFileIo());

// The user's own file at `path` (an export): replaceFile with FileMode::Shared.
IoResult writeWholeFile(const std::string& path, std::span<const std::uint8_t> bytes, FileIo& io = systemFileIo());

// Removes the file at `path` and syncs its folder; a file that is not
// there is no failure.
IoResult removeFile(const std::string& path, FileIo& io = systemFileIo());

} // namespace tessel

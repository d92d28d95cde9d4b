// Opening and reading files, the one way: a path that names a pipe, a
// device or a folder is refused before anything could block on it.
//
// openRegularFile: io.open(path, O_NONBLOCK | O_RDONLY or O_RDWR) ->
//                  io.status -> refused unless a regular file -> io.setBlocking.
// readWholeFile:   openRegularFile -> size cap -> io.pread until the end -> io.close.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "file/file_io.h"
#include "file/outcome.h"

namespace tessel {

enum class Access { Read, Update };

struct OpenedFile {
    int fd = -1;
    FileStatus status; // as fstat found it right after the open
};

// The descriptor of the regular file at `path` (the caller closes it).
// When the system refuses the open, the sentence starts with `cannotOpen`
// and gives the system's reason; anything but a regular file is
// "NAME is not a regular file." with NAME the file's name.
Outcome<OpenedFile> openRegularFile(FileIo& io, const std::string& path, Access access,
                                    const std::string& cannotOpen);

// The file's bytes; a file larger than `maxBytes` is refused unread.
Outcome<std::vector<std::uint8_t>> readWholeFile(const std::string& path, std::size_t maxBytes,
                                                 FileIo& io = systemFileIo());

// The device and inode of the file at `path` (symbolic links followed).
IoResult fileKeyOfPath(const std::string& path, FileKey& key, FileIo& io = systemFileIo());

// True when the file at `path` is there but cannot be written: it has no
// write permission bit, the user may not write it, or it lies on a
// read-only medium. Not for a lock, a missing file or an I/O error.
bool writingRefused(const std::string& path, FileIo& io = systemFileIo());

// True when both paths name one existing file (also through links).
bool namesSameFile(const std::string& a, const std::string& b, FileIo& io = systemFileIo());

} // namespace tessel

// The one open ROM file: opened for reading and updating, locked against a
// second editor, read and written at absolute offsets; or opened for
// reading only, for the command line's exports. Every operation is checked;
// a failure carries the system's reason.
//
// Call flow: open() -> read()/write() any number of times -> sync() once per
// command that wrote -> close(). Writes never go past the end of the file.
// open(): openRegularFile (file_access.h: no blocking on a pipe or device)
//         -> size (refused above kLargestRomBytes) -> write permission -> lock.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "file/file_io.h"
#include "file/outcome.h"

namespace tessel {

// How the file we hold stands against what we last saw of it.
enum class HeldFile {
    Unchanged,     // the path still names it and no one else changed it
    ChangedOutside, // ours, but its size or modification time moved
    StatusChanged, // ours, same size and modification time, but its status
                   // change time moved: a chmod, a touch, or an in-place
                   // write whose time was put back; the caller compares
                   // what it cares about, then restamp()s
    Replaced,      // the path names another file now, or none: ours was
                   // renamed over or deleted
    Unknown,       // the system could not tell (the reason is in `error`)
};

// Reads out.size() bytes at offset from descriptor fd, retrying short reads;
// bytes past the end of the file are filled with 0xFF. Fails only when the
// system reports an error.
IoResult readFully(FileIo& io, int fd, long long offset, std::span<std::uint8_t> out);

class RomFile {
public:
    explicit RomFile(FileIo& io = systemFileIo()) : io_(&io) {}
    ~RomFile();
    RomFile(const RomFile&) = delete;
    RomFile& operator=(const RomFile&) = delete;

    void setIo(FileIo& io) { io_ = &io; }
    FileIo& io() const { return *io_; }

    // Opens read-write and takes an exclusive advisory lock. A file that
    // cannot be opened for update, that has no write permission bit at all
    // (refused even where the system would let root write it), or that
    // another editor holds, fails.
    // flock locks belong to the open file description, so our own earlier
    // descriptor on the same file would refuse us too: when `replacing`
    // holds the very file being opened, it is closed just before the lock
    // is taken (and only once the new descriptor is open).
    IoResult open(const std::string& path, RomFile* replacing = nullptr);
    // Opens for reading only: no lock and no write permission needed, so
    // that a build script can read a ROM the window has open or a read-only
    // copy. write(), truncate() and sync() are then refused.
    IoResult openReadOnly(const std::string& path);
    // Opens as open() does, except that when `heldByUs` holds this very
    // file, its lock is no obstacle and none is taken: for looking at the
    // file (checkRomIdentity), never for writing it.
    IoResult openBeside(const std::string& path, const RomFile* heldByUs);
    void close();
    bool isOpen() const { return fd_ >= 0; }
    bool isReadOnly() const { return readOnly_; }
    // Exchanges the open files (and their FileIo) of two RomFiles, so that a
    // newly opened file can take the place of the old one.
    void swap(RomFile& other) noexcept;
    // True when this file is open and is the file behind descriptor `fd` of
    // the same FileIo.
    bool isSameFileAs(int fd) const;
    const std::string& path() const { return path_; }
    // Which file we opened (device and inode, as taken at open).
    const FileKey& key() const { return stamp_.key; }

    // Offsets given to size(), read() and write() are those of a copier
    // image, which starts with a 512-byte header. A dump without that header
    // holds the same bytes 512 earlier: with `present` false every offset is
    // moved down by 512, and size() counts the missing header in, so that
    // the rest of the program never needs to know which kind it has. Set
    // after open(); close() and a new open() go back to a copier image.
    void setCopierHeader(bool present) { headerShift_ = present ? 0 : kCopierHeaderBytes; }
    bool hasCopierHeader() const { return headerShift_ == 0; }
    static constexpr long long kCopierHeaderBytes = 512;
    // Larger files are refused by every open: the largest SNES cartridge
    // the game could be on, with room for a copier header.
    static constexpr long long kLargestRomBytes = 16LL * 1024 * 1024 + kCopierHeaderBytes;

    // Current length of the file in bytes.
    Outcome<long long> size() const;

    // Reads up to out.size() bytes at offset. Bytes past the end of the file
    // are filled with 0xFF (what the game's format treats as "nothing read").
    // Fails only when the system reports an error.
    IoResult read(long long offset, std::span<std::uint8_t> out) const;

    // Writes all of data at offset. Refuses (writes nothing) if the range
    // would extend past the end of the file.
    IoResult write(long long offset, std::span<const std::uint8_t> data);

    // Flushes the written data to the disk.
    IoResult sync();

    // Whether the path still names the file we opened, and whether anyone
    // else changed it since open() or the last restamp(). `error` receives
    // the system's reason for Unknown.
    HeldFile check(std::string* error = nullptr) const;
    // Whether the file has some write permission bit now (it may have been
    // write-protected since it was opened); false when it cannot be told.
    bool stillWritable() const;
    // Where the data of the file ends before `offset` (copier-image
    // offsets): the start of a hole that reaches `offset`, else `offset`.
    long long dataEndBefore(long long offset) const;
    // Takes the file's current size and modification time as our own (after
    // our writes, or once the user chose to write over an outside change).
    IoResult restamp();
    // Cuts the file back to `size` bytes (copier-image offsets, as size()).
    IoResult truncate(long long size);

private:
    FileIo* io_;
    int fd_ = -1;
    std::string path_;
    long long headerShift_ = 0; // bytes of copier header missing from the file
    FileStatus stamp_;          // the file as we last saw it
    bool readOnly_ = false;

    enum class Mode { Update, ReadOnly };
    IoResult openAs(const std::string& path, Mode mode, RomFile* replacing, const RomFile* heldByUs);
    IoResult refuseReadOnly() const;
};

} // namespace tessel

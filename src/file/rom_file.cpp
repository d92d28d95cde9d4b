#include "file/rom_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <utility>

namespace tessel {

namespace {

class SystemFileIo final : public FileIo {
public:
    int open(const char* path, int flags) override { return ::open(path, flags | O_CLOEXEC); }
    int close(int fd) override { return ::close(fd); }
    int lock(int fd) override { return ::flock(fd, LOCK_EX | LOCK_NB); }
    long long size(int fd) override
    {
        struct stat st;
        if (::fstat(fd, &st) != 0) return -1;
        if (!S_ISREG(st.st_mode)) {
            errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
            return -1;
        }
        return st.st_size;
    }
    long pread(int fd, void* buf, unsigned long count, long long offset) override
    {
        return ::pread(fd, buf, count, offset);
    }
    long pwrite(int fd, const void* buf, unsigned long count, long long offset) override
    {
        return ::pwrite(fd, buf, count, offset);
    }
    int fsync(int fd) override { return ::fsync(fd); }
};

std::string reason(const char* what)
{
    return std::string(what) + ": " + std::strerror(errno);
}

void fillStatus(const struct stat& st, FileStatus& out)
{
    out.key = {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
    out.size = st.st_size;
    out.modifiedNs = st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec;
    out.links = st.st_nlink;
    out.writable = (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
}

} // namespace

int FileIo::status(int fd, FileStatus& out)
{
    struct stat st;
    if (::fstat(fd, &st) != 0) return -1;
    fillStatus(st, out);
    return 0;
}

int FileIo::pathStatus(const char* path, FileStatus& out)
{
    struct stat st;
    if (::stat(path, &st) != 0) return -1;
    fillStatus(st, out);
    return 0;
}

int FileIo::truncate(int fd, long long size) { return ::ftruncate(fd, size); }

int FileIo::fileKey(int fd, FileKey& key)
{
    struct stat st;
    if (::fstat(fd, &st) != 0) return -1;
    key.device = st.st_dev;
    key.inode = st.st_ino;
    return 0;
}

FileIo& systemFileIo()
{
    static SystemFileIo io;
    return io;
}

IoResult readFully(FileIo& io, int fd, long long offset, std::span<std::uint8_t> out)
{
    std::size_t done = 0;
    while (done < out.size()) {
        long n = io.pread(fd, out.data() + done, out.size() - done, offset + done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return IoResult::failure(reason("Cannot read the ROM"));
        }
        if (n == 0) break; // end of file
        done += static_cast<std::size_t>(n);
    }
    std::memset(out.data() + done, 0xFF, out.size() - done);
    return IoResult::success();
}

RomFile::~RomFile() { close(); }

IoResult RomFile::open(const std::string& path, RomFile* replacing)
{
    close();
    int fd = io_->open(path.c_str(), O_RDWR);
    if (fd < 0) return IoResult::failure(reason("Cannot open the file for reading and writing"));
    FileStatus status;
    if (io_->size(fd) < 0 || io_->status(fd, status) != 0) {
        IoResult r = IoResult::failure(reason("Cannot read the file"));
        io_->close(fd);
        return r;
    }
    // Root may write a file whose mode forbids it; the user who protected
    // the file meant it for everyone.
    if (!status.writable) {
        io_->close(fd);
        return IoResult::failure("The file is write-protected");
    }
    if (replacing && replacing != this && replacing->isSameFileAs(fd))
        replacing->close();
    if (io_->lock(fd) != 0) {
        IoResult r = IoResult::failure(errno == EWOULDBLOCK
                                           ? std::string("The file is in use by another editor")
                                           : reason("Cannot lock the file"));
        io_->close(fd);
        return r;
    }
    fd_ = fd;
    path_ = path;
    stamp_ = status;
    return IoResult::success();
}

void RomFile::swap(RomFile& other) noexcept
{
    std::swap(io_, other.io_);
    std::swap(fd_, other.fd_);
    std::swap(path_, other.path_);
    std::swap(headerShift_, other.headerShift_);
    std::swap(stamp_, other.stamp_);
}

bool RomFile::isSameFileAs(int fd) const
{
    FileKey mine, theirs;
    return fd_ >= 0 && io_->fileKey(fd_, mine) == 0 && io_->fileKey(fd, theirs) == 0 &&
           mine == theirs;
}

void RomFile::close()
{
    if (fd_ < 0) return;
    io_->close(fd_); // closing also releases the lock
    fd_ = -1;
    path_.clear();
    headerShift_ = 0;
}

long long RomFile::size() const
{
    if (fd_ < 0) return -1;
    const long long n = io_->size(fd_);
    return n < 0 ? n : n + headerShift_;
}

IoResult RomFile::read(long long offset, std::span<std::uint8_t> out) const
{
    if (fd_ < 0) return IoResult::failure("No ROM is open");
    offset -= headerShift_;
    if (offset < 0) { // the header a headerless dump does not have
        const std::size_t missing = std::min<std::size_t>(out.size(), -offset);
        std::memset(out.data(), 0xFF, missing);
        out = out.subspan(missing);
        offset = 0;
    }
    return readFully(*io_, fd_, offset, out);
}

IoResult RomFile::write(long long offset, std::span<const std::uint8_t> data)
{
    if (fd_ < 0) return IoResult::failure("No ROM is open");
    long long length = io_->size(fd_);
    if (length < 0) return IoResult::failure(reason("Cannot read the size of the ROM"));
    offset -= headerShift_;
    if (offset < 0 || offset + static_cast<long long>(data.size()) > length)
        return IoResult::failure("The ROM file is too short: writing there would extend it");
    std::size_t done = 0;
    while (done < data.size()) {
        long n = io_->pwrite(fd_, data.data() + done, data.size() - done, offset + done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return IoResult::failure(reason("Cannot write to the ROM"));
        }
        if (n == 0) return IoResult::failure("Cannot write to the ROM: nothing was written");
        done += static_cast<std::size_t>(n);
    }
    return IoResult::success();
}

IoResult RomFile::sync()
{
    if (fd_ < 0) return IoResult::failure("No ROM is open");
    if (io_->fsync(fd_) != 0) return IoResult::failure(reason("Cannot flush the ROM to disk"));
    return IoResult::success();
}

HeldFile RomFile::check(std::string* error) const
{
    auto unknown = [error](const char* what) {
        if (error) *error = reason(what);
        return HeldFile::Unknown;
    };
    if (fd_ < 0) {
        if (error) *error = "No ROM is open";
        return HeldFile::Unknown;
    }
    FileStatus held, named;
    if (io_->status(fd_, held) != 0) return unknown("Cannot read the state of the ROM file");
    if (held.links == 0) return HeldFile::Replaced;
    if (io_->pathStatus(path_.c_str(), named) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) return HeldFile::Replaced;
        return unknown("Cannot read the state of the ROM file");
    }
    if (!(named.key == held.key)) return HeldFile::Replaced;
    if (held.size != stamp_.size || held.modifiedNs != stamp_.modifiedNs)
        return HeldFile::ChangedOutside;
    return HeldFile::Unchanged;
}

IoResult RomFile::restamp()
{
    if (fd_ < 0) return IoResult::failure("No ROM is open");
    if (io_->status(fd_, stamp_) != 0)
        return IoResult::failure(reason("Cannot read the state of the ROM file"));
    return IoResult::success();
}

IoResult RomFile::truncate(long long size)
{
    if (fd_ < 0) return IoResult::failure("No ROM is open");
    if (io_->truncate(fd_, size - headerShift_) != 0)
        return IoResult::failure(reason("Cannot cut the ROM file back to its size"));
    return IoResult::success();
}

} // namespace tessel

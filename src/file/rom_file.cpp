#include "file/rom_file.h"

#include <cerrno>
#include <cstring>

#include <algorithm>
#include <array>
#include <utility>

#include "file/durable_file.h"
#include "file/file_access.h"
#include "file/path_names.h"
#include "file/system_reason.h"

namespace tessel {

namespace {

std::string reason(const char* what) { return because(what, errno); }

} // namespace

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
    return openAs(path, Mode::Update, replacing, nullptr);
}

IoResult RomFile::openReadOnly(const std::string& path) { return openAs(path, Mode::ReadOnly, nullptr, nullptr); }

IoResult RomFile::openBeside(const std::string& path, const RomFile* heldByUs)
{
    return openAs(path, Mode::Update, nullptr, heldByUs);
}

IoResult RomFile::openAs(const std::string& path, Mode mode, RomFile* replacing, const RomFile* heldByUs)
{
    close();
    const bool update = mode == Mode::Update;
    const Outcome<OpenedFile> opened =
        openRegularFile(*io_, path, update ? Access::Update : Access::Read,
                        update ? "Cannot open the file for reading and writing" : "Cannot open the file for reading");
    if (!opened) return IoResult::failure(opened.error.ends_with('.') ? opened.error : opened.error + ".");
    const int fd = opened.value.fd;
    const FileStatus& status = opened.value.status;
    auto refuse = [&](std::string why) {
        io_->close(fd);
        return IoResult::failure(std::move(why));
    };
    const long long length = io_->size(fd);
    if (length < 0) return refuse(reason("Cannot read the file") + ".");
    // Not read, not backed up: a file this large cannot be the game.
    if (length > kLargestRomBytes)
        return refuse(baseName(path) + " is larger than any Oakenshore ROM can be (16 MiB), so it is not one.");
    // Root may write a file whose mode forbids it; the user who protected
    // the file meant it for everyone.
    if (update && !status.writable) return refuse("The file is write-protected");
    if (update && replacing && replacing != this && replacing->isSameFileAs(fd)) replacing->close();
    if (update && io_->lock(fd) != 0) {
        const bool held = errno == EWOULDBLOCK;
        if (!held) return refuse(reason("Cannot lock the file") + ".");
        if (!heldByUs || !heldByUs->isSameFileAs(fd)) return refuse(baseName(path) + " is in use by another editor.");
    }
    fd_ = fd;
    path_ = path;
    stamp_ = status;
    readOnly_ = !update;
    return IoResult::success();
}

IoResult RomFile::refuseReadOnly() const
{
    return IoResult::failure(baseName(path_) + " was opened for reading only.");
}

void RomFile::swap(RomFile& other) noexcept
{
    std::swap(io_, other.io_);
    std::swap(fd_, other.fd_);
    std::swap(path_, other.path_);
    std::swap(headerShift_, other.headerShift_);
    std::swap(stamp_, other.stamp_);
    std::swap(readOnly_, other.readOnly_);
}

bool RomFile::isSameFileAs(int fd) const
{
    FileStatus mine, theirs;
    return fd_ >= 0 && io_->status(fd_, mine) == 0 && io_->status(fd, theirs) == 0 && mine.key == theirs.key;
}

void RomFile::close()
{
    if (fd_ < 0) return;
    io_->close(fd_); // closing also releases the lock
    fd_ = -1;
    path_.clear();
    headerShift_ = 0;
    readOnly_ = false;
}

Outcome<long long> RomFile::size() const
{
    if (fd_ < 0) return Outcome<long long>::failure("No ROM is open");
    const long long n = io_->size(fd_);
    if (n < 0) return Outcome<long long>::failure(reason("Cannot read the size of the ROM"));
    return Outcome<long long>::success(n + headerShift_);
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
    if (readOnly_) return refuseReadOnly();
    long long length = io_->size(fd_);
    if (length < 0) return IoResult::failure(reason("Cannot read the size of the ROM"));
    offset -= headerShift_;
    if (offset < 0 || offset + static_cast<long long>(data.size()) > length)
        return IoResult::failure("The ROM file is too short: writing there would extend it");
    return writeAll(*io_, fd_, offset, data, "to the ROM");
}

IoResult RomFile::sync()
{
    if (fd_ < 0) return IoResult::failure("No ROM is open");
    if (readOnly_) return refuseReadOnly();
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
    if (held.changedNs != stamp_.changedNs) return HeldFile::StatusChanged;
    return HeldFile::Unchanged;
}

bool RomFile::stillWritable() const
{
    FileStatus now;
    return fd_ >= 0 && io_->status(fd_, now) == 0 && now.writable;
}

long long RomFile::dataEndBefore(long long offset) const
{
    if (fd_ < 0) return offset;
    // Holes are kept in whole blocks: a write past the end leaves a hole up
    // to its own block, whose bytes before the write read as zeros. The
    // hole sought is the last one before `offset` after which nothing but
    // such zeros follows; a file system without holes reports all data.
    const long long end = offset - headerShift_;
    auto onlyZerosFrom = [&](long long at) {
        std::array<std::uint8_t, 65536> bytes;
        if (end - at > static_cast<long long>(bytes.size())) return false;
        const auto span = std::span(bytes.data(), static_cast<std::size_t>(end - at));
        return readFully(*io_, fd_, at, span).ok &&
               std::all_of(span.begin(), span.end(), [](std::uint8_t b) { return b == 0; });
    };
    for (long long at = 0; at < end;) {
        const long long hole = io_->seekData(fd_, at, false);
        if (hole < 0 || hole >= end) break;
        const long long data = io_->seekData(fd_, hole, true);
        if (data < 0 || data >= end || onlyZerosFrom(data)) return hole + headerShift_;
        at = data;
    }
    return offset;
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
    if (readOnly_) return refuseReadOnly();
    if (io_->truncate(fd_, size - headerShift_) != 0)
        return IoResult::failure(reason("Cannot cut the ROM file back to its size"));
    return IoResult::success();
}

} // namespace tessel

#include "support/fault_io.h"

#include <cerrno>
#include <numeric>

namespace tessel::testing {

const char* ioOpName(IoOp op)
{
    static constexpr const char* kNames[kIoOpCount] = {
        "open",  "lock",   "size",   "pread", "pwrite", "fsync", "close", "fstat", "stat",  "ftruncate",
        "lstat", "fcntl",  "create", "rename", "link",  "unlink", "mkdir", "readdir",
    };
    return kNames[static_cast<int>(op)];
}

void FaultIo::failOn(IoOp op, int nth, int error, bool always)
{
    faults_[static_cast<int>(op)] = {nth, error, always};
}

void FaultIo::reset()
{
    faults_.fill({});
    counts_.fill(0);
    writeLimit_ = 0;
    writeNothing_ = false;
    failures_ = 0;
}

int FaultIo::totalCalls() const { return std::accumulate(counts_.begin(), counts_.end(), 0); }

bool FaultIo::shouldFail(IoOp op)
{
    const int i = static_cast<int>(op);
    ++counts_[i];
    Fault& f = faults_[i];
    if (f.remaining <= 0) return false;
    if (f.remaining > 1) {
        --f.remaining;
        return false;
    }
    if (!f.always) f.remaining = 0;
    ++failures_;
    errno = f.error;
    return true;
}

int FaultIo::open(const char* path, int flags)
{
    return shouldFail(IoOp::Open) ? -1 : inner_.open(path, flags);
}

int FaultIo::close(int fd)
{
    // A failing close still releases the descriptor, as the system's does.
    if (shouldFail(IoOp::Close)) {
        const int error = errno;
        inner_.close(fd);
        errno = error;
        return -1;
    }
    return inner_.close(fd);
}

int FaultIo::lock(int fd) { return shouldFail(IoOp::Lock) ? -1 : inner_.lock(fd); }

long long FaultIo::size(int fd) { return shouldFail(IoOp::Size) ? -1 : inner_.size(fd); }

long FaultIo::pread(int fd, void* buf, unsigned long count, long long offset)
{
    if (beforeRead) beforeRead();
    return shouldFail(IoOp::Pread) ? -1 : inner_.pread(fd, buf, count, offset);
}

long FaultIo::pwrite(int fd, const void* buf, unsigned long count, long long offset)
{
    if (beforeWrite) beforeWrite();
    if (shouldFail(IoOp::Pwrite)) return -1;
    if (writeNothing_) return 0;
    if (writeLimit_ > 0 && count > static_cast<unsigned long>(writeLimit_)) count = writeLimit_;
    return inner_.pwrite(fd, buf, count, offset);
}

int FaultIo::fsync(int fd) { return shouldFail(IoOp::Fsync) ? -1 : inner_.fsync(fd); }

int FaultIo::status(int fd, FileStatus& out)
{
    return shouldFail(IoOp::Status) ? -1 : inner_.status(fd, out);
}

int FaultIo::pathStatus(const char* path, FileStatus& out)
{
    return shouldFail(IoOp::PathStatus) ? -1 : inner_.pathStatus(path, out);
}

int FaultIo::truncate(int fd, long long size)
{
    return shouldFail(IoOp::Truncate) ? -1 : inner_.truncate(fd, size);
}

int FaultIo::linkStatus(const char* path, FileStatus& out)
{
    if (shouldFail(IoOp::LinkStatus)) return -1;
    const int r = inner_.linkStatus(path, out);
    if (r == 0 && alterLinkStatus) alterLinkStatus(out);
    return r;
}

int FaultIo::setBlocking(int fd) { return shouldFail(IoOp::SetBlocking) ? -1 : inner_.setBlocking(fd); }

int FaultIo::create(const char* path, int flags, unsigned mode)
{
    return shouldFail(IoOp::Create) ? -1 : inner_.create(path, flags, mode);
}

int FaultIo::rename(const char* from, const char* to)
{
    return shouldFail(IoOp::Rename) ? -1 : inner_.rename(from, to);
}

int FaultIo::link(const char* from, const char* to) { return shouldFail(IoOp::Link) ? -1 : inner_.link(from, to); }

int FaultIo::unlink(const char* path) { return shouldFail(IoOp::Unlink) ? -1 : inner_.unlink(path); }

int FaultIo::makeFolder(const char* path, unsigned mode)
{
    return shouldFail(IoOp::MakeFolder) ? -1 : inner_.makeFolder(path, mode);
}

int FaultIo::listFolder(const char* path, std::vector<std::string>& names)
{
    return shouldFail(IoOp::ListFolder) ? -1 : inner_.listFolder(path, names);
}

} // namespace tessel::testing

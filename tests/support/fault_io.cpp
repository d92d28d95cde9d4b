#include "support/fault_io.h"

#include <cerrno>
#include <numeric>

namespace tessel::testing {

void FaultIo::failOn(IoOp op, int nth, int error, bool always)
{
    faults_[static_cast<int>(op)] = {nth, error, always};
}

void FaultIo::reset()
{
    faults_.fill({});
    counts_.fill(0);
    writeLimit_ = 0;
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
    return shouldFail(IoOp::Pread) ? -1 : inner_.pread(fd, buf, count, offset);
}

long FaultIo::pwrite(int fd, const void* buf, unsigned long count, long long offset)
{
    if (shouldFail(IoOp::Pwrite)) return -1;
    if (writeLimit_ > 0 && count > static_cast<unsigned long>(writeLimit_)) count = writeLimit_;
    return inner_.pwrite(fd, buf, count, offset);
}

int FaultIo::fsync(int fd) { return shouldFail(IoOp::Fsync) ? -1 : inner_.fsync(fd); }

int FaultIo::fileKey(int fd, FileKey& key)
{
    return shouldFail(IoOp::FileKey) ? -1 : inner_.fileKey(fd, key);
}

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

} // namespace tessel::testing

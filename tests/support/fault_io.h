// A FileIo that passes every call to the real system calls but can be told
// to fail the Nth call of one kind with a given errno, and counts the calls
// of each kind (the benchmarks report the count per command).
#pragma once

#include <array>
#include <functional>

#include "file/file_io.h"

namespace tessel::testing {

enum class IoOp {
    Open, Lock, Size, Pread, Pwrite, Fsync, Close, Status, PathStatus, Truncate,
    LinkStatus, SetBlocking, Create, Rename, Link, Unlink, MakeFolder, ListFolder,
};
inline constexpr int kIoOpCount = 18;

// The call's name as the system knows it ("open", "fstat", ...).
const char* ioOpName(IoOp op);

class FaultIo final : public FileIo {
public:
    explicit FaultIo(FileIo& inner = systemFileIo()) : inner_(inner) {}

    // The `nth` call of `op` from now on (1 = the next one) fails with
    // `error`; with `always`, every call from that one on fails.
    void failOn(IoOp op, int nth, int error, bool always = false);
    // Runs before every pwrite: another program acting in the middle of a save.
    std::function<void()> beforeWrite;
    // Runs before every pread: another program acting while a file is read.
    std::function<void()> beforeRead;
    // Runs on what lstat found: another user's folder, say.
    std::function<void(FileStatus&)> alterLinkStatus;
    // Pwrite moves at most `bytes` per call from now on (short writes); 0
    // lifts the limit.
    void limitWrites(long bytes) { writeLimit_ = bytes; }
    // Pwrite returns 0 from now on, moving nothing (a device that is full
    // without saying so).
    void writeNothing(bool nothing) { writeNothing_ = nothing; }
    void reset();

    int calls(IoOp op) const { return counts_[static_cast<int>(op)]; }
    int totalCalls() const;
    int failures() const { return failures_; }
    void resetCounts() { counts_.fill(0); }

    int open(const char* path, int flags) override;
    int close(int fd) override;
    int lock(int fd) override;
    long long size(int fd) override;
    long pread(int fd, void* buf, unsigned long count, long long offset) override;
    long pwrite(int fd, const void* buf, unsigned long count, long long offset) override;
    int fsync(int fd) override;
    int status(int fd, FileStatus& out) override;
    int pathStatus(const char* path, FileStatus& out) override;
    int linkStatus(const char* path, FileStatus& out) override;
    int truncate(int fd, long long size) override;
    int setBlocking(int fd) override;
    int create(const char* path, int flags, unsigned mode) override;
    int rename(const char* from, const char* to) override;
    int link(const char* from, const char* to) override;
    int unlink(const char* path) override;
    int makeFolder(const char* path, unsigned mode) override;
    int listFolder(const char* path, std::vector<std::string>& names) override;

private:
    struct Fault {
        int remaining = 0; // calls until the failing one; 0 = no fault armed
        int error = 0;
        bool always = false;
    };
    // Counts the call and says whether it must fail (errno is then set).
    bool shouldFail(IoOp op);

    FileIo& inner_;
    std::array<int, kIoOpCount> counts_{};
    std::array<Fault, kIoOpCount> faults_{};
    long writeLimit_ = 0;
    bool writeNothing_ = false;
    int failures_ = 0;
};

} // namespace tessel::testing

// The system calls every file of the program goes through: the ROM, its
// backups, recovery files, pictures, palette files and patches. Tests
// replace it to make any single kind of call fail; systemFileIo() is the
// real one.
//
// Every call returns 0 (or a count, or a descriptor >= 0) on success and -1
// with errno set on failure, as the system call it stands for.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tessel {

// Which file a descriptor refers to (device and inode): two paths or two
// descriptors name the same file exactly when their keys are equal.
struct FileKey {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    friend bool operator==(const FileKey&, const FileKey&) = default;
    friend auto operator<=>(const FileKey&, const FileKey&) = default;
};

enum class FileType { Regular, Folder, Link, Other };

// What the system says of a file: which file it is, what kind, how long,
// when it was last modified, how many names it has, who owns it and who
// may write it.
struct FileStatus {
    FileKey key;
    FileType type = FileType::Other;
    long long size = 0;
    long long modifiedNs = 0; // modification time in nanoseconds
    long long changedNs = 0;  // status change time (ctime), which no one can set
    unsigned long links = 0;
    unsigned owner = 0;       // user id
    unsigned permissions = 0; // the mode's permission bits (07777)
    bool writable = false;    // some write permission bit is set
};

class FileIo {
public:
    virtual ~FileIo() = default;
    // open(2) of an existing file (no O_CREAT).
    virtual int open(const char* path, int flags) = 0;
    virtual int close(int fd) = 0;
    virtual int lock(int fd) = 0; // exclusive, non-blocking
    virtual long long size(int fd) = 0;
    virtual long pread(int fd, void* buf, unsigned long count, long long offset) = 0;
    virtual long pwrite(int fd, const void* buf, unsigned long count, long long offset) = 0;
    // Also of a folder's descriptor, which flushes its entries.
    virtual int fsync(int fd) = 0;

    // The calls below default to the system's; a test's FileIo overrides
    // those it wants to fail.
    virtual int status(int fd, FileStatus& out);             // fstat
    virtual int pathStatus(const char* path, FileStatus& out); // stat: links followed
    virtual int linkStatus(const char* path, FileStatus& out); // lstat: a link itself
    virtual int truncate(int fd, long long size);
    // Clears O_NONBLOCK once a file is known to be a regular one.
    virtual int setBlocking(int fd);
    // open(2) with O_CREAT and `mode` (which the umask narrows).
    virtual int create(const char* path, int flags, unsigned mode);
    virtual int rename(const char* from, const char* to);
    virtual int link(const char* from, const char* to);
    virtual int unlink(const char* path);
    virtual int makeFolder(const char* path, unsigned mode);
    // The names in a folder, "." and ".." left out.
    virtual int listFolder(const char* path, std::vector<std::string>& names);
    // syncfs(2): flushes everything on the file system holding `fd`.
    virtual int syncFileSystem(int fd);
    // lseek with SEEK_DATA (`data`) or SEEK_HOLE: where the next data or
    // hole at or after `offset` begins; -1 with ENXIO past the last data.
    virtual long long seekData(int fd, long long offset, bool data);
    // access(2) with W_OK: whether this user may write the file at `path`.
    virtual int mayWrite(const char* path);
};

FileIo& systemFileIo();

} // namespace tessel

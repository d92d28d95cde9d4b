#include "file/file_io.h"

#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tessel {

namespace {

void fillStatus(const struct stat& st, FileStatus& out)
{
    out.key = {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
    out.type = S_ISREG(st.st_mode)   ? FileType::Regular
               : S_ISDIR(st.st_mode) ? FileType::Folder
               : S_ISLNK(st.st_mode) ? FileType::Link
                                     : FileType::Other;
    out.size = st.st_size;
    out.modifiedNs = st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec;
    out.changedNs = st.st_ctim.tv_sec * 1000000000LL + st.st_ctim.tv_nsec;
    out.links = st.st_nlink;
    out.owner = st.st_uid;
    out.permissions = st.st_mode & 07777;
    out.writable = (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
}

class SystemFileIo final : public FileIo {
public:
    int open(const char* path, int flags) override { return ::open(path, flags | O_CLOEXEC); }
    int close(int fd) override { return ::close(fd); }
    int lock(int fd) override { return ::flock(fd, LOCK_EX | LOCK_NB); }
    long long size(int fd) override
    {
        struct stat st;
        return ::fstat(fd, &st) == 0 ? st.st_size : -1;
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

int FileIo::linkStatus(const char* path, FileStatus& out)
{
    struct stat st;
    if (::lstat(path, &st) != 0) return -1;
    fillStatus(st, out);
    return 0;
}

int FileIo::truncate(int fd, long long size) { return ::ftruncate(fd, size); }

int FileIo::setBlocking(int fd)
{
    const int flags = ::fcntl(fd, F_GETFL);
    return flags < 0 ? -1 : ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
}

int FileIo::create(const char* path, int flags, unsigned mode)
{
    return ::open(path, flags | O_CREAT | O_CLOEXEC, static_cast<mode_t>(mode));
}

int FileIo::rename(const char* from, const char* to) { return std::rename(from, to); }

int FileIo::link(const char* from, const char* to) { return ::link(from, to); }

int FileIo::unlink(const char* path) { return ::unlink(path); }

int FileIo::makeFolder(const char* path, unsigned mode) { return ::mkdir(path, static_cast<mode_t>(mode)); }

int FileIo::syncFileSystem(int fd) { return ::syncfs(fd); }

int FileIo::listFolder(const char* path, std::vector<std::string>& names)
{
    DIR* d = ::opendir(path);
    if (!d) return -1;
    names.clear();
    errno = 0;
    while (const dirent* e = ::readdir(d)) {
        const std::string name = e->d_name;
        if (name != "." && name != "..") names.push_back(name);
        errno = 0;
    }
    const int error = errno;
    ::closedir(d);
    errno = error;
    return error == 0 ? 0 : -1;
}

long long FileIo::seekData(int fd, long long offset, bool data)
{
    return ::lseek(fd, offset, data ? SEEK_DATA : SEEK_HOLE);
}

int FileIo::mayWrite(const char* path) { return ::access(path, W_OK); }

FileIo& systemFileIo()
{
    static SystemFileIo io;
    return io;
}

} // namespace tessel

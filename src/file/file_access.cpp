#include "file/file_access.h"

#include <cerrno>
#include <fcntl.h>

#include "file/path_names.h"
#include "file/system_reason.h"

namespace tessel {

Outcome<OpenedFile> openRegularFile(FileIo& io, const std::string& path, Access access,
                                    const std::string& cannotOpen)
{
    using Result = Outcome<OpenedFile>;
    const int flags = (access == Access::Update ? O_RDWR : O_RDONLY) | O_NONBLOCK;
    OpenedFile opened;
    opened.fd = io.open(path.c_str(), flags);
    if (opened.fd < 0) return Result::failure(because(cannotOpen, errno));
    std::string why;
    if (io.status(opened.fd, opened.status) != 0)
        why = because("Cannot read the file", errno);
    else if (opened.status.type != FileType::Regular)
        why = baseName(path) + " is not a regular file.";
    else if (io.setBlocking(opened.fd) != 0)
        why = because("Cannot read the file", errno);
    if (why.empty()) return Result::success(opened);
    io.close(opened.fd);
    return Result::failure(why);
}

Outcome<std::vector<std::uint8_t>> readWholeFile(const std::string& path, std::size_t maxBytes, FileIo& io)
{
    using Result = Outcome<std::vector<std::uint8_t>>;
    const Outcome<OpenedFile> opened = openRegularFile(io, path, Access::Read, "Cannot open " + path);
    if (!opened) return Result::failure(opened.error);
    const int fd = opened.value.fd;
    const long long size = opened.value.status.size;
    if (static_cast<unsigned long long>(size) > maxBytes) {
        io.close(fd);
        return Result::failure(path + " is too large (" + std::to_string(size) + " bytes; at most " +
                               std::to_string(maxBytes) + ")");
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const long n = io.pread(fd, bytes.data() + done, bytes.size() - done, static_cast<long long>(done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            Result r = Result::failure(because("Cannot read " + path, errno));
            io.close(fd);
            return r;
        }
        if (n == 0) break; // shrank while we read: take what is there
        done += static_cast<std::size_t>(n);
    }
    io.close(fd);
    bytes.resize(done);
    return Result::success(std::move(bytes));
}

IoResult fileKeyOfPath(const std::string& path, FileKey& key, FileIo& io)
{
    FileStatus status;
    if (io.pathStatus(path.c_str(), status) != 0) return IoResult::failure(because(path, errno));
    key = status.key;
    return IoResult::success();
}

bool writingRefused(const std::string& path, FileIo& io)
{
    FileStatus status;
    if (io.pathStatus(path.c_str(), status) != 0 || status.type != FileType::Regular) return false;
    if (!status.writable) return true;
    return io.mayWrite(path.c_str()) != 0 && (errno == EACCES || errno == EPERM || errno == EROFS);
}

bool namesSameFile(const std::string& a, const std::string& b, FileIo& io)
{
    FileKey ka, kb;
    return fileKeyOfPath(a, ka, io).ok && fileKeyOfPath(b, kb, io).ok && ka == kb;
}

} // namespace tessel

#include "file/durable_batch.h"

#include <cerrno>
#include <fcntl.h>

#include "file/system_reason.h"

namespace tessel {

namespace {

IoResult syncFileSystemOf(FileIo& io, const std::string& dir)
{
    const int fd = io.open(dir.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return IoResult::failure(because(dir, errno));
    IoResult result;
    if (io.syncFileSystem(fd) != 0) result = IoResult::failure(because("Cannot write the files in " + dir, errno));
    io.close(fd);
    return result;
}

} // namespace

IoResult replaceFilesInFolder(const std::string& dir, std::span<const FileToWrite> files, FileMode mode, FileIo& io)
{
    std::vector<NewFile> made;
    made.reserve(files.size());
    const auto discardFrom = [&](std::size_t first) {
        for (std::size_t i = first; i < made.size(); ++i) discard(io, made[i]);
    };
    const std::string prefix = dir.ends_with('/') ? dir : dir + "/";
    IoResult result;
    for (const FileToWrite& f : files) {
        Outcome<NewFile> file = createExclusive(io, dir, f.name, mode);
        if (!file) {
            result = IoResult::failure(file.error);
            break;
        }
        made.push_back(file.value);
        result = writeAll(io, made.back().fd, 0, f.bytes, prefix + f.name);
        const int closed = io.close(made.back().fd);
        made.back().fd = -1;
        if (result.ok && closed != 0) result = IoResult::failure(because("Cannot write " + prefix + f.name, errno));
        if (!result.ok) break;
    }
    if (result.ok) result = syncFileSystemOf(io, dir);
    if (!result.ok) {
        discardFrom(0);
        return result;
    }
    for (std::size_t i = 0; i < made.size(); ++i) {
        if (io.rename(made[i].path.c_str(), (prefix + files[i].name).c_str()) != 0) {
            result = IoResult::failure(because("Cannot write " + prefix + files[i].name, errno));
            discardFrom(i);
            break;
        }
    }
    const IoResult folder = syncFolder(io, dir);
    return result.ok ? folder : result;
}

} // namespace tessel

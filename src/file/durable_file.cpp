#include "file/durable_file.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <random>

#include "file/path_names.h"
#include "file/system_reason.h"

namespace tessel {

namespace {

constexpr int kNameAttempts = 100;
constexpr std::size_t kStemBytes = 200; // room for the rest in 255 bytes

std::string randomHex()
{
    static thread_local std::mt19937_64 generator{(static_cast<std::uint64_t>(std::random_device{}()) << 32) ^
                                                  std::random_device{}()};
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(generator()));
    return text;
}

} // namespace

Outcome<NewFile> createExclusive(FileIo& io, const std::string& dir, const std::string& stem, FileMode mode)
{
    NewFile file;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        file.path = dir + "/." + stem.substr(0, kStemBytes) + "." + randomHex() + ".tmp";
        file.fd = io.create(file.path.c_str(), O_WRONLY | O_EXCL | O_NOFOLLOW, static_cast<unsigned>(mode));
        if (file.fd >= 0) return Outcome<NewFile>::success(file);
        if (errno != EEXIST) break;
    }
    return Outcome<NewFile>::failure(because("Cannot create a file in " + dir, errno));
}

IoResult writeAll(FileIo& io, int fd, long long offset, std::span<const std::uint8_t> bytes,
                  const std::string& what)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const long n = io.pwrite(fd, bytes.data() + done, bytes.size() - done, offset + static_cast<long long>(done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return IoResult::failure(because("Cannot write " + what, errno));
        if (n == 0) return IoResult::failure("Cannot write " + what + ": nothing was written");
        done += static_cast<std::size_t>(n);
    }
    return IoResult::success();
}

IoResult syncAndClose(FileIo& io, NewFile& file)
{
    IoResult result;
    if (io.fsync(file.fd) != 0) result = IoResult::failure(because("Cannot write " + file.path, errno));
    const int fd = file.fd;
    file.fd = -1;
    if (io.close(fd) != 0 && result.ok) result = IoResult::failure(because("Cannot write " + file.path, errno));
    return result;
}

void discard(FileIo& io, NewFile& file)
{
    if (file.fd >= 0) io.close(file.fd);
    file.fd = -1;
    if (!file.path.empty()) io.unlink(file.path.c_str());
}

IoResult syncFolder(FileIo& io, const std::string& dir)
{
    const int fd = io.open(dir.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return IoResult::failure(because(dir, errno));
    IoResult result;
    if (io.fsync(fd) != 0) result = IoResult::failure(because(dir, errno));
    io.close(fd);
    return result;
}

std::string folderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

IoResult replaceFile(const std::string& path, std::span<const std::uint8_t> bytes, FileMode mode, FileIo& io)
{
    const std::string dir = folderOf(path);
    Outcome<NewFile> made = createExclusive(io, dir, baseName(path), mode);
    if (!made) return IoResult::failure(made.error);
    NewFile& file = made.value;
    IoResult result = writeAll(io, file.fd, 0, bytes, path);
    if (result.ok) result = syncAndClose(io, file);
    if (result.ok && io.rename(file.path.c_str(), path.c_str()) != 0)
        result = IoResult::failure(because("Cannot write " + path, errno));
    if (!result.ok) {
        discard(io, file);
        return result;
    }
    return syncFolder(io, dir);
}

IoResult writeWholeFile(const std::string& path, std::span<const std::uint8_t> bytes, FileIo& io)
{
    return replaceFile(path, bytes, FileMode::Shared, io);
}

IoResult removeFile(const std::string& path, FileIo& io)
{
    if (io.unlink(path.c_str()) != 0) {
        if (errno == ENOENT) return IoResult::success();
        return IoResult::failure(because(path, errno));
    }
    return syncFolder(io, folderOf(path));
}

} // namespace tessel

#include "file/state_files.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tessel {

namespace {

IoResult failure(const std::string& what)
{
    return IoResult::failure(what + ": " + std::strerror(errno));
}

std::string homeDirectory()
{
    if (const char* home = std::getenv("HOME"); home && *home == '/') return home;
    if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir && *entry->pw_dir == '/')
        return entry->pw_dir;
    return {};
}

} // namespace

std::string stateDirectory(const std::string& sub)
{
    std::string base;
    if (const char* xdg = std::getenv("XDG_STATE_HOME"); xdg && *xdg == '/') {
        base = xdg;
    } else {
        const std::string home = homeDirectory();
        if (home.empty()) return {};
        base = home + "/.local/state";
    }
    return base + "/tessel/" + sub;
}

IoResult makeDirectories(const std::string& path)
{
    if (path.empty()) return IoResult::failure("no folder for the program's own files (HOME is not set)");
    for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string prefix = path.substr(0, slash);
        if (::mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST) return failure(prefix);
        if (slash == std::string::npos) break;
    }
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) return failure(path);
    if (!S_ISDIR(st.st_mode)) {
        errno = ENOTDIR;
        return failure(path);
    }
    return IoResult::success();
}

IoResult syncDirectory(const std::string& dir)
{
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return failure(dir);
    const bool synced = ::fsync(fd) == 0;
    const int error = errno;
    ::close(fd);
    errno = error;
    return synced ? IoResult::success() : failure(dir);
}

IoResult replaceFileDurably(const std::string& dir, const std::string& name,
                            std::span<const std::uint8_t> bytes)
{
    const std::string target = dir + "/" + name;
    const std::string temporary = target + ".tmp";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) return failure(temporary);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = EIO;
            const IoResult result = failure(temporary);
            ::close(fd);
            ::unlink(temporary.c_str());
            return result;
        }
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0) {
        const IoResult result = failure(temporary);
        ::close(fd);
        ::unlink(temporary.c_str());
        return result;
    }
    if (::close(fd) != 0) {
        const IoResult result = failure(temporary);
        ::unlink(temporary.c_str());
        return result;
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        const IoResult result = failure(target);
        ::unlink(temporary.c_str());
        return result;
    }
    return syncDirectory(dir);
}

IoResult removeFileDurably(const std::string& dir, const std::string& name)
{
    const std::string target = dir + "/" + name;
    if (::unlink(target.c_str()) != 0) {
        if (errno == ENOENT) return IoResult::success();
        return failure(target);
    }
    return syncDirectory(dir);
}

IoResult fileKeyOfPath(const std::string& path, FileKey& key)
{
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) return failure(path);
    key = {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
    return IoResult::success();
}

std::string baseName(const std::string& path)
{
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
    const std::size_t slash = trimmed.rfind('/');
    return slash == std::string::npos ? trimmed : trimmed.substr(slash + 1);
}

} // namespace tessel

#include "file/state_files.h"

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

#include "file/durable_file.h"
#include "file/path_names.h"
#include "file/system_reason.h"

namespace tessel {

namespace {

constexpr unsigned kOthersMayWrite = 0022;

std::string homeDirectory()
{
    if (const char* home = std::getenv("HOME"); home && *home == '/') return home;
    passwd entry{};
    passwd* found = nullptr;
    char buffer[4096];
    if (::getpwuid_r(::getuid(), &entry, buffer, sizeof buffer, &found) == 0 && found && found->pw_dir &&
        *found->pw_dir == '/')
        return found->pw_dir;
    return {};
}

std::string notUsed(const std::string& dir, const char* how)
{
    return "The folder " + dir + " " + how + ", so Tessel keeps no recovery files or backups there.";
}

IoResult checkOneFolder(const std::string& dir, FileIo& io)
{
    FileStatus status;
    if (io.linkStatus(dir.c_str(), status) != 0) return IoResult::failure(because(dir, errno));
    if (status.type == FileType::Link) return IoResult::failure(notUsed(dir, "is a symbolic link"));
    if (status.type != FileType::Folder) return IoResult::failure(because(dir, ENOTDIR));
    if (status.owner != ::geteuid() || (status.permissions & kOthersMayWrite) != 0)
        return IoResult::failure(notUsed(dir, "is shared with other users"));
    return IoResult::success();
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

IoResult checkStateFolder(const std::string& dir, FileIo& io)
{
    if (IoResult r = checkOneFolder(dir, io); !r.ok) return r;
    const std::string parent = folderOf(dir);
    if (baseName(parent) == "tessel") return checkOneFolder(parent, io);
    return IoResult::success();
}

IoResult makeDirectories(const std::string& path, FileIo& io)
{
    if (path.empty()) return IoResult::failure("no folder for the program's own files (HOME is not set)");
    for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string prefix = path.substr(0, slash);
        if (io.makeFolder(prefix.c_str(), 0700) != 0 && errno != EEXIST) return IoResult::failure(because(prefix, errno));
        if (slash == std::string::npos) break;
    }
    return checkStateFolder(path, io);
}

IoResult replaceFileDurably(const std::string& dir, const std::string& name,
                            std::span<const std::uint8_t> bytes, FileIo& io)
{
    if (IoResult r = checkStateFolder(dir, io); !r.ok) return r;
    return replaceFile(dir + "/" + name, bytes, FileMode::Private, io);
}

IoResult removeFileDurably(const std::string& dir, const std::string& name, FileIo& io)
{
    FileStatus folder;
    if (io.linkStatus(dir.c_str(), folder) != 0 && errno == ENOENT) return IoResult::success(); // nothing to remove
    if (IoResult r = checkStateFolder(dir, io); !r.ok) return r;
    return removeFile(dir + "/" + name, io);
}

} // namespace tessel

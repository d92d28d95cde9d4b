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

std::string notUsed(const std::string& dir, const char* how, const char* keeps)
{
    return "The folder " + dir + " " + how + ", so Tessel keeps no " + keeps + " there.";
}

IoResult checkOneFolder(const std::string& dir, FileIo& io, const char* keeps)
{
    FileStatus status;
    if (io.linkStatus(dir.c_str(), status) != 0) return IoResult::failure(because(dir, errno));
    if (status.type == FileType::Link) return IoResult::failure(notUsed(dir, "is a symbolic link", keeps));
    if (status.type != FileType::Folder) return IoResult::failure(because(dir, ENOTDIR));
    if (status.owner != ::geteuid() || (status.permissions & kOthersMayWrite) != 0)
        return IoResult::failure(notUsed(dir, "is shared with other users", keeps));
    return IoResult::success();
}

// $VARIABLE/tessel, else $HOME/<fallback>/tessel; empty without either.
std::string ownFolder(const char* variable, const char* fallback)
{
    if (const char* xdg = std::getenv(variable); xdg && *xdg == '/') return std::string(xdg) + "/tessel";
    const std::string home = homeDirectory();
    return home.empty() ? std::string() : home + fallback + "/tessel";
}

} // namespace

std::string stateDirectory(const std::string& sub)
{
    const std::string base = ownFolder("XDG_STATE_HOME", "/.local/state");
    return base.empty() ? base : base + "/" + sub;
}

std::string dataDirectory() { return ownFolder("XDG_DATA_HOME", "/.local/share"); }

IoResult checkStateFolder(const std::string& dir, FileIo& io, const char* keeps)
{
    if (IoResult r = checkOneFolder(dir, io, keeps); !r.ok) return r;
    const std::string parent = folderOf(dir);
    if (baseName(parent) == "tessel") return checkOneFolder(parent, io, keeps);
    return IoResult::success();
}

IoResult makeDirectories(const std::string& path, FileIo& io, const char* keeps)
{
    if (path.empty()) return IoResult::failure("no folder for the program's own files (HOME is not set)");
    for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string prefix = path.substr(0, slash);
        if (io.makeFolder(prefix.c_str(), 0700) != 0 && errno != EEXIST) return IoResult::failure(because(prefix, errno));
        if (slash == std::string::npos) break;
    }
    return checkStateFolder(path, io, keeps);
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

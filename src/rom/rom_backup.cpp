#include "rom/rom_backup.h"

#include <map>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

#include "file/state_files.h"

namespace tessel {

namespace {

constexpr std::size_t kStampLength = 15; // YYYYMMDD-HHMMSS
constexpr std::size_t kCopyChunk = 1 << 20;

IoResult failure(const std::string& what, int error)
{
    return IoResult::failure(what + ": " + std::strerror(error));
}

std::string stampOf(std::time_t when)
{
    std::tm local{};
    ::localtime_r(&when, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
    return text;
}

bool allDigits(const std::string& s, std::size_t from, std::size_t count)
{
    if (from + count > s.size() || count == 0) return false;
    for (std::size_t i = from; i < from + count; ++i)
        if (s[i] < '0' || s[i] > '9') return false;
    return true;
}

// For "NAME.YYYYMMDD-HHMMSS[-N].bak": the stamp and N (1 when absent);
// false for any other file.
bool parseBackupName(const std::string& file, const std::string& name, std::string& stamp, long& serial)
{
    const std::string prefix = name + ".";
    const std::string suffix = ".bak";
    if (file.size() < prefix.size() + kStampLength + suffix.size() || file.compare(0, prefix.size(), prefix) != 0 ||
        file.compare(file.size() - suffix.size(), suffix.size(), suffix) != 0)
        return false;
    const std::size_t at = prefix.size();
    if (!allDigits(file, at, 8) || file[at + 8] != '-' || !allDigits(file, at + 9, 6)) return false;
    stamp = file.substr(at, kStampLength);
    const std::size_t rest = at + kStampLength;
    const std::size_t end = file.size() - suffix.size();
    serial = 1;
    if (rest == end) return true;
    if (file[rest] != '-' || !allDigits(file, rest + 1, end - rest - 1) || end - rest - 1 > 9) return false;
    serial = std::strtol(file.c_str() + rest + 1, nullptr, 10);
    return true;
}

// Copies all of descriptor `from` into the new file `to` and syncs it: in
// the kernel where it can, else through a buffer.
IoResult copyInto(int from, int to, const std::string& fromPath, const std::string& toPath)
{
    bool inKernel = true;
    for (;;) {
        const ssize_t n = ::copy_file_range(from, nullptr, to, nullptr, kCopyChunk, 0);
        if (n > 0) continue;
        if (n == 0) break;
        if (errno == EINTR) continue;
        if (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP || errno == EPERM) {
            inKernel = false; // e.g. across file systems on older kernels
            break;
        }
        return failure(fromPath, errno);
    }
    if (!inKernel) {
        // Continue where the kernel stopped (at the start, usually).
        const off_t done = ::lseek(to, 0, SEEK_CUR);
        if (done < 0 || ::lseek(from, done, SEEK_SET) < 0) return failure(fromPath, errno);
        std::unique_ptr<std::uint8_t[]> buffer(new std::uint8_t[kCopyChunk]);
        for (;;) {
            const ssize_t got = ::read(from, buffer.get(), kCopyChunk);
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) return failure(fromPath, errno);
            if (got == 0) break;
            for (ssize_t written = 0; written < got;) {
                const ssize_t n = ::write(to, buffer.get() + written, static_cast<std::size_t>(got - written));
                if (n < 0 && errno == EINTR) continue;
                if (n <= 0) return failure(toPath, n == 0 ? EIO : errno);
                written += n;
            }
        }
    }
    if (::fsync(to) != 0) return failure(toPath, errno);
    return IoResult::success();
}

// Links the finished temporary file under the first backup name of this
// second that is free and newer than every other backup of the second.
IoResult linkUnderFreeName(const std::string& temporary, const std::string& dir, const std::string& name,
                           const std::string& stamp, std::string& made)
{
    long serial = 1;
    for (const std::string& file : backupsOf(dir, name)) {
        std::string fileStamp;
        long fileSerial = 0;
        if (parseBackupName(file, name, fileStamp, fileSerial) && fileStamp == stamp) serial = fileSerial + 1;
    }
    for (const long last = serial + 100; serial < last; ++serial) {
        made = dir + "/" + name + "." + stamp + (serial == 1 ? "" : "-" + std::to_string(serial)) + ".bak";
        if (::link(temporary.c_str(), made.c_str()) == 0) return IoResult::success();
        if (errno != EEXIST) return failure(made, errno);
    }
    return failure(made, EEXIST);
}

void prune(const std::string& dir, const std::string& name, int keep)
{
    const std::vector<std::string> all = backupsOf(dir, name);
    if (static_cast<int>(all.size()) <= keep) return;
    for (std::size_t i = 0; i + keep < all.size(); ++i) ::unlink((dir + "/" + all[i]).c_str());
}

} // namespace

std::string backupDirectory() { return stateDirectory("backups"); }

std::string backupName(const std::string& romPath)
{
    // Room for the stamp and a serial within the 255 bytes of a file name.
    std::string name = baseName(romPath).substr(0, 200);
    if (!name.empty() && name[0] == '.') name[0] = '_'; // never a hidden file
    return name;
}

std::vector<std::string> backupsOf(const std::string& dir, const std::string& name)
{
    struct Entry {
        std::string stamp;
        long serial;
        std::string file;
    };
    std::vector<Entry> found;
    if (DIR* d = ::opendir(dir.c_str())) {
        while (const dirent* e = ::readdir(d)) {
            Entry entry{{}, 0, e->d_name};
            if (parseBackupName(entry.file, name, entry.stamp, entry.serial)) found.push_back(std::move(entry));
        }
        ::closedir(d);
    }
    std::sort(found.begin(), found.end(), [](const Entry& a, const Entry& b) {
        return a.stamp != b.stamp ? a.stamp < b.stamp : a.serial < b.serial;
    });
    std::vector<std::string> files;
    for (Entry& e : found) files.push_back(std::move(e.file));
    return files;
}

namespace {

// The backup this process made of each ROM (by its device and inode).
std::map<FileKey, std::string>& madeThisRun()
{
    static std::map<FileKey, std::string> made;
    return made;
}

} // namespace

IoResult backupRom(const std::string& romPath, const FileKey& romKey, const std::string& dir, std::time_t now,
                   std::string* madePath, int keep)
{
    const int from = ::open(romPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (from < 0) return failure(romPath, errno);
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closeFrom{from};
    struct stat st;
    if (::fstat(from, &st) != 0) return failure(romPath, errno);
    if (FileKey{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)} != romKey)
        return IoResult::failure(romPath + " is no longer the file that was opened");

    if (IoResult made = makeDirectories(dir); !made.ok) return made;
    const std::string name = backupName(romPath);
    std::string temporary = dir + "/." + name + ".XXXXXX";
    const int to = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (to < 0) return failure(dir, errno);
    IoResult result = copyInto(from, to, romPath, temporary);
    if (::close(to) != 0 && result.ok) result = failure(temporary, errno);
    std::string made;
    if (result.ok) result = linkUnderFreeName(temporary, dir, name, stampOf(now), made);
    ::unlink(temporary.c_str());
    if (result.ok) result = syncDirectory(dir);
    if (!result.ok) return result;
    if (madePath) *madePath = made;
    madeThisRun()[romKey] = made;
    prune(dir, name, keep);
    return IoResult::success();
}

std::string backupMadeThisRun(const FileKey& romKey)
{
    const auto found = madeThisRun().find(romKey);
    return found == madeThisRun().end() ? std::string() : found->second;
}

} // namespace tessel

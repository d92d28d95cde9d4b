#include "rom/rom_backup.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>

#include "file/durable_file.h"
#include "file/file_access.h"
#include "file/state_files.h"
#include "file/system_reason.h"
#include "rom/recovery_file.h"

namespace tessel {

namespace {

constexpr std::size_t kStampLength = 15; // YYYYMMDD-HHMMSS
constexpr std::size_t kCopyChunk = 1 << 20;

IoResult failure(const std::string& what, int error) { return IoResult::failure(because(what, error)); }

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

// Copies the data of descriptor `from` into the new file `to`, region by
// region as SEEK_DATA and SEEK_HOLE find them (one region of the whole
// file where the system cannot tell), then gives `to` the length of
// `from`: what lay in holes stays a hole.
IoResult copyInto(FileIo& io, int from, int to, const std::string& fromPath, const std::string& toPath,
                  BackupProgress* progress)
{
    const long long length = io.size(from);
    if (length < 0) return failure(fromPath, errno);
    if (progress) progress->total.store(length);
    std::unique_ptr<std::uint8_t[]> buffer(new std::uint8_t[kCopyChunk]);
    for (long long at = 0; at < length;) {
        long long data = io.seekData(from, at, true);
        if (data < 0 && errno == ENXIO) break; // only a hole is left
        if (data < 0) data = at;               // no holes here: all is data
        long long hole = io.seekData(from, data, false);
        if (hole < 0) hole = length;
        for (long long done = data; done < hole;) {
            const long got = io.pread(from, buffer.get(), std::min<long long>(kCopyChunk, hole - done), done);
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) return failure(fromPath, errno);
            if (got == 0) break; // cut short meanwhile: the length below says so
            if (IoResult r = writeAll(io, to, done, std::span(buffer.get(), static_cast<std::size_t>(got)), toPath);
                !r.ok)
                return r;
            done += got;
            if (progress) progress->done.store(done);
        }
        at = hole;
        if (progress) progress->done.store(at);
    }
    if (io.truncate(to, length) != 0) return failure(toPath, errno);
    return IoResult::success();
}

// Links the finished temporary file under the first backup name of this
// second that is free and newer than every other backup of the second.
IoResult linkUnderFreeName(FileIo& io, const std::string& temporary, const std::string& dir, const std::string& name,
                           const std::string& stamp, std::string& made)
{
    long serial = 1;
    for (const std::string& file : backupsOf(dir, name, io)) {
        std::string fileStamp;
        long fileSerial = 0;
        if (parseBackupName(file, name, fileStamp, fileSerial) && fileStamp == stamp) serial = fileSerial + 1;
    }
    for (const long last = serial + 100; serial < last; ++serial) {
        made = dir + "/" + name + "." + stamp + (serial == 1 ? "" : "-" + std::to_string(serial)) + ".bak";
        if (io.link(temporary.c_str(), made.c_str()) == 0) return IoResult::success();
        if (errno != EEXIST) return failure(made, errno);
    }
    return failure(made, EEXIST);
}

// Removes all but the `keep` newest; the first removal that fails is
// reported, the others are still tried.
IoResult prune(FileIo& io, const std::string& dir, const std::string& name, int keep)
{
    const std::vector<std::string> all = backupsOf(dir, name, io);
    IoResult result;
    for (std::size_t i = 0; i + keep < all.size(); ++i) {
        const std::string old = dir + "/" + all[i];
        if (io.unlink(old.c_str()) != 0 && errno != ENOENT && result.ok)
            result = IoResult::failure("The backup was made, but an older one cannot be removed: " +
                                       because(old, errno));
    }
    return result;
}

} // namespace

std::string backupDirectory() { return stateDirectory("backups"); }

std::string backupName(const std::string& romPath)
{
    // Room for the stamp and a serial within the 255 bytes of a file name.
    std::string name = baseName(romPath).substr(0, 200);
    if (!name.empty() && name[0] == '.') name[0] = '_'; // never a hidden file
    // FNV-1a, 32 bits, of the folder: enough to keep the sets of a few
    // folders apart, short enough to read.
    std::uint32_t hash = 0x811c9dc5u;
    for (unsigned char c : folderOf(canonicalRomPath(romPath))) hash = (hash ^ c) * 0x01000193u;
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "-%08x", static_cast<unsigned>(hash));
    return name + suffix;
}

std::vector<std::string> backupsOf(const std::string& dir, const std::string& name, FileIo& io)
{
    struct Entry {
        std::string stamp;
        long serial;
        std::string file;
    };
    std::vector<Entry> found;
    std::vector<std::string> names;
    if (io.listFolder(dir.c_str(), names) == 0) {
        for (std::string& file : names) {
            Entry entry{{}, 0, std::move(file)};
            if (parseBackupName(entry.file, name, entry.stamp, entry.serial)) found.push_back(std::move(entry));
        }
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
                   std::string* madePath, int keep, FileIo& io, BackupProgress* progress)
{
    const Outcome<OpenedFile> source = openRegularFile(io, romPath, Access::Read, romPath);
    if (!source) return IoResult::failure(source.error);
    struct Closer {
        FileIo& io;
        int fd;
        ~Closer() { io.close(fd); }
    } closeSource{io, source.value.fd};
    if (source.value.status.key != romKey)
        return IoResult::failure(romPath + " is no longer the file that was opened");

    if (IoResult made = makeDirectories(dir, io); !made.ok) return made;
    const std::string name = backupName(romPath);
    Outcome<NewFile> temporary = createExclusive(io, dir, name, FileMode::Private);
    if (!temporary) return IoResult::failure(temporary.error);
    NewFile& copy = temporary.value;
    IoResult result = copyInto(io, source.value.fd, copy.fd, romPath, copy.path, progress);
    if (result.ok) result = syncAndClose(io, copy);
    std::string made;
    if (result.ok) result = linkUnderFreeName(io, copy.path, dir, name, stampOf(now), made);
    discard(io, copy); // the backup has its own name now, or there is none
    if (result.ok) result = syncFolder(io, dir);
    if (!result.ok) return result;
    if (madePath) *madePath = made;
    madeThisRun()[romKey] = made;
    return prune(io, dir, name, keep);
}

std::string backupMadeThisRun(const FileKey& romKey)
{
    const auto found = madeThisRun().find(romKey);
    return found == madeThisRun().end() ? std::string() : found->second;
}

} // namespace tessel

#include "interchange/file_bytes.h"

#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tessel {
namespace {

std::string because(const std::string& what, const std::string& path)
{
    return what + " " + path + ": " + std::strerror(errno);
}

} // namespace

Outcome<std::vector<std::uint8_t>> readWholeFile(const std::string& path, std::size_t maxBytes)
{
    using Result = Outcome<std::vector<std::uint8_t>>;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return Result::failure(because("Cannot open", path));
    struct stat st{};
    if (::fstat(fd, &st) != 0) {
        Result r = Result::failure(because("Cannot read", path));
        ::close(fd);
        return r;
    }
    if (!S_ISREG(st.st_mode) || static_cast<unsigned long long>(st.st_size) > maxBytes) {
        ::close(fd);
        return Result::failure(S_ISREG(st.st_mode)
                                   ? path + " is too large (" + std::to_string(st.st_size) +
                                         " bytes; at most " + std::to_string(maxBytes) + ")"
                                   : path + " is not a file");
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(st.st_size));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            Result r = Result::failure(because("Cannot read", path));
            ::close(fd);
            return r;
        }
        if (n == 0) break; // shrank while we read: take what is there
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    bytes.resize(done);
    return Result::success(std::move(bytes));
}

bool namesSameFile(const std::string& a, const std::string& b)
{
    struct stat sa, sb;
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

std::string lowerCaseExtension(const std::string& path)
{
    const std::size_t dot = path.find_last_of("./");
    if (dot == std::string::npos || path[dot] != '.') return {};
    std::string ext = path.substr(dot + 1);
    for (char& ch : ext) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return ext;
}

std::string writeWholeFile(const std::string& path, std::span<const std::uint8_t> bytes)
{
    // A name of our own beside the target; O_EXCL makes sure it is new, and
    // the mode goes through the umask like any file the user creates.
    static std::atomic<int> serial{0};
    std::string temp;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temp = path + ".tessel-" + std::to_string(::getpid()) + "-" + std::to_string(serial++);
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) return because("Cannot create a file beside", path);
    std::string error;
    std::size_t done = 0;
    while (error.empty() && done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) error = because("Cannot write", path);
        else done += static_cast<std::size_t>(n);
    }
    if (error.empty() && ::fsync(fd) != 0) error = because("Cannot write", path);
    if (::close(fd) != 0 && error.empty()) error = because("Cannot write", path);
    if (error.empty() && ::rename(temp.c_str(), path.c_str()) != 0) error = because("Cannot write", path);
    if (!error.empty()) ::unlink(temp.c_str());
    return error;
}

} // namespace tessel

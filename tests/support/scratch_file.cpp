#include "support/scratch_file.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <unistd.h>

namespace tessel::testing {

namespace {

std::string temporaryDirectory()
{
    const char* dir = std::getenv("TMPDIR");
    return dir && *dir ? dir : "/tmp";
}

[[noreturn]] void fail(const std::string& what)
{
    throw std::runtime_error(what + ": " + std::strerror(errno));
}

} // namespace

ScratchFile::ScratchFile(Kind kind) : kind_(kind)
{
    std::string pattern = temporaryDirectory() + "/tessel-test-XXXXXX";
    if (kind == Kind::Directory) {
        if (!::mkdtemp(pattern.data())) fail("mkdtemp " + pattern);
    } else {
        const int fd = ::mkstemp(pattern.data());
        if (fd < 0) fail("mkstemp " + pattern);
        ::close(fd);
    }
    path_ = pattern;
}

ScratchFile::~ScratchFile()
{
    std::error_code ignored;
    if (kind_ == Kind::Directory)
        std::filesystem::remove_all(path_, ignored); // with whatever a test left in it
    else
        ::unlink(path_.c_str());
}

void ScratchFile::write(const std::vector<std::uint8_t>& bytes) const
{
    std::FILE* f = std::fopen(path_.c_str(), "wb");
    if (!f) fail("open " + path_);
    const bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    if (std::fclose(f) != 0 || !ok) fail("write " + path_);
}

std::vector<std::uint8_t> ScratchFile::read() const { return readFileBytes(path_); }

std::vector<std::uint8_t> readFileBytes(const std::string& path)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) fail("open " + path);
    std::vector<std::uint8_t> bytes;
    std::uint8_t chunk[65536];
    std::size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes.insert(bytes.end(), chunk, chunk + n);
    const bool bad = std::ferror(f);
    std::fclose(f);
    if (bad) fail("read " + path);
    return bytes;
}

} // namespace tessel::testing

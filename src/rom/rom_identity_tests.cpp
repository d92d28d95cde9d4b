#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "rom/rom_session.h"
#include "support/fault_io.h"
#include "support/scratch_file.h"
#include "support/synthetic_rom.h"

namespace tessel {
namespace {

using testing::FaultIo;
using testing::IoOp;
using testing::ScratchFile;

RomIdentity identityOf(const std::vector<std::uint8_t>& bytes)
{
    ScratchFile file;
    file.write(bytes);
    return checkRomIdentity(file.path());
}

std::vector<std::uint8_t> withTitle(const char* title)
{
    return testing::buildSyntheticRom({.truncateAt = 0x10400, .title = title});
}

TEST(RomIdentity, TheTitleDecides)
{
    EXPECT_EQ(identityOf(withTitle("OAKEN SHORE")), RomIdentity::TitleMatches);
    EXPECT_EQ(identityOf(withTitle("oaken shore")), RomIdentity::TitleDiffers);
    EXPECT_EQ(identityOf(withTitle("OAKEN SHORF")), RomIdentity::TitleDiffers);
    EXPECT_EQ(identityOf(withTitle("OAKEN")), RomIdentity::TitleDiffers);

    // Whatever follows the eleven bytes does not matter.
    auto rom = withTitle("OAKEN SHORE");
    rom[0x101CB] = 'X';
    EXPECT_EQ(identityOf(rom), RomIdentity::TitleMatches);

    // Without the copier header the title sits 512 bytes earlier, where a
    // dump of the game has it.
    std::vector<std::uint8_t> headerless(rom.begin() + 512, rom.end());
    EXPECT_EQ(identityOf(headerless), RomIdentity::TitleMatches);
}

TEST(RomIdentity, ShortAndOddFilesOpenButDiffer)
{
    EXPECT_EQ(identityOf({}), RomIdentity::TitleDiffers);
    EXPECT_EQ(identityOf({0x4F}), RomIdentity::TitleDiffers);
    // The title cut after "OAKEN": the rest reads as 0xFF.
    auto rom = withTitle("OAKEN SHORE");
    rom.resize(0x101C5);
    EXPECT_EQ(identityOf(rom), RomIdentity::TitleDiffers);
    rom.resize(0x101CA); // one byte short
    EXPECT_EQ(identityOf(rom), RomIdentity::TitleDiffers);

    std::mt19937 rng(5);
    std::vector<std::uint8_t> noise(0x20000);
    for (auto& b : noise) b = static_cast<std::uint8_t>(rng());
    EXPECT_EQ(identityOf(noise), RomIdentity::TitleDiffers);
}

TEST(RomIdentity, FilesThatCannotBeOpenedForUpdate)
{
    EXPECT_EQ(checkRomIdentity("/nonexistent/tessel/rom.smc"), RomIdentity::CannotOpen);
    ScratchFile dir(ScratchFile::Kind::Directory);
    EXPECT_EQ(checkRomIdentity(dir.path()), RomIdentity::CannotOpen);

    // A read-only file, as the system reports it to a user without rights.
    ScratchFile file;
    file.write(withTitle("OAKEN SHORE"));
    FaultIo io;
    io.failOn(IoOp::Open, 1, EACCES);
    EXPECT_EQ(checkRomIdentity(file.path(), io), RomIdentity::CannotOpen);
    EXPECT_EQ(checkRomIdentity(file.path(), io), RomIdentity::TitleMatches);
}

TEST(RomIdentity, AReadOnlyFileOnDisk)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "running as root, which may write any file: read-only files are "
                        "covered through the injected EACCES instead";
    ScratchFile file;
    file.write(withTitle("OAKEN SHORE"));
    ASSERT_EQ(::chmod(file.path().c_str(), 0444), 0);
    EXPECT_EQ(checkRomIdentity(file.path()), RomIdentity::CannotOpen);
}

TEST(RomIdentity, AFileLockedByAnotherEditor)
{
    ScratchFile file;
    file.write(withTitle("OAKEN SHORE"));
    const int other = ::open(file.path().c_str(), O_RDWR);
    ASSERT_GE(other, 0);
    ASSERT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);
    EXPECT_EQ(checkRomIdentity(file.path()), RomIdentity::CannotOpen);

    // The check itself leaves no lock behind.
    ::close(other);
    EXPECT_EQ(checkRomIdentity(file.path()), RomIdentity::TitleMatches);
    const int again = ::open(file.path().c_str(), O_RDWR);
    EXPECT_EQ(::flock(again, LOCK_EX | LOCK_NB), 0);
    ::close(again);
}

TEST(RomIdentity, OurOwnLockIsNoObstacle)
{
    ScratchFile file, otherFile;
    file.write(withTitle("OAKEN SHORE"));
    otherFile.write(withTitle("OAKEN SHORE"));
    RomFile held;
    ASSERT_TRUE(held.open(file.path()).ok);
    EXPECT_EQ(checkRomIdentity(file.path()), RomIdentity::CannotOpen);
    EXPECT_EQ(checkRomIdentity(file.path(), systemFileIo(), &held), RomIdentity::TitleMatches);
    EXPECT_EQ(checkRomIdentity(otherFile.path(), systemFileIo(), &held), RomIdentity::TitleMatches);
    EXPECT_TRUE(held.isOpen());

    // A second RomFile on the same file is refused, unless it replaces the
    // one that holds it.
    RomFile second;
    EXPECT_FALSE(second.open(file.path()).ok);
    EXPECT_TRUE(held.isOpen());
    EXPECT_TRUE(second.open(file.path(), &held).ok);
    EXPECT_FALSE(held.isOpen());
}

TEST(RomIdentity, InjectedFailuresMeanCannotOpen)
{
    ScratchFile file;
    file.write(withTitle("OAKEN SHORE"));
    for (IoOp op : {IoOp::Open, IoOp::Size, IoOp::Lock, IoOp::Pread}) {
        FaultIo io;
        io.failOn(op, 1, EIO);
        EXPECT_EQ(checkRomIdentity(file.path(), io), RomIdentity::CannotOpen)
            << static_cast<int>(op);
        EXPECT_EQ(io.calls(IoOp::Open), io.calls(IoOp::Close) + (op == IoOp::Open ? 1 : 0))
            << "every descriptor opened is closed";
    }
}

} // namespace
} // namespace tessel

// The file layer's refusals and its promises: nothing but a regular file is
// read, a durable replace never opens a name someone else prepared and
// leaves no temporary behind, and the program's own folders are used only
// while no one else can write into them.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "file/checksum.h"
#include "file/durable_file.h"
#include "file/file_access.h"
#include "file/rom_file.h"
#include "file/state_files.h"
#include "file/system_reason.h"
#include "support/fault_io.h"
#include "support/scratch_file.h"

namespace tessel {
namespace {

using testing::FaultIo;
using testing::IoOp;
using testing::ScratchFile;
using Bytes = std::vector<std::uint8_t>;

std::size_t entriesIn(const std::string& dir)
{
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir), {}));
}

TEST(FileLayer, OnlyRegularFilesAreReadAndNothingBlocks)
{
    ScratchFile dir(ScratchFile::Kind::Directory);
    const std::string fifo = dir.path() + "/pipe.png";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {fifo, std::string("/dev/null"), dir.path()}) {
        const std::string sentence = std::filesystem::path(path).filename().string() + " is not a regular file.";
        FaultIo io;
        const auto bytes = readWholeFile(path, 1000, io);
        EXPECT_EQ(bytes.error, sentence);
        EXPECT_EQ(io.calls(IoOp::Pread), 0) << path;
        EXPECT_EQ(io.calls(IoOp::Open), io.calls(IoOp::Close)) << path;
        RomFile rom;
        EXPECT_EQ(rom.openReadOnly(path).error, sentence);
        if (path != dir.path()) {
            EXPECT_EQ(rom.open(path).error, sentence) << "also for update";
        }
    }
}

TEST(FileLayer, ReplaceMakesAFreshFileWithItsModeAndLeavesNothingOnFailure)
{
    ScratchFile dir(ScratchFile::Kind::Directory);
    const std::string target = dir.path() + "/out.png", victim = dir.path() + "/victim";
    ScratchFile victimFile;
    std::filesystem::copy_file(victimFile.path(), victim);
    // The names a writer once used beside its target, prepared as links.
    for (const char* planted : {"/out.png.tmp", "/.out.png.tmp"})
        std::filesystem::create_symlink(victim, dir.path() + planted);
    const mode_t saved = ::umask(022);
    ASSERT_TRUE(writeWholeFile(target, Bytes{1, 2, 3}).ok);
    ASSERT_TRUE(replaceFile(dir.path() + "/own", Bytes{4}, FileMode::Private).ok);
    ::umask(saved);
    EXPECT_EQ(testing::readFileBytes(target), (Bytes{1, 2, 3}));
    EXPECT_TRUE(testing::readFileBytes(victim).empty());
    struct stat st;
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u);
    ASSERT_EQ(::stat((dir.path() + "/own").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    const std::size_t before = entriesIn(dir.path());
    for (IoOp op : {IoOp::Create, IoOp::Pwrite, IoOp::Fsync, IoOp::Close, IoOp::Rename}) {
        FaultIo io;
        io.failOn(op, 1, ENOSPC);
        const IoResult r = writeWholeFile(target, Bytes(10, 9), io);
        EXPECT_NE(r.error.find(systemReason(ENOSPC)), std::string::npos) << testing::ioOpName(op) << r.error;
        EXPECT_EQ(testing::readFileBytes(target), (Bytes{1, 2, 3})) << testing::ioOpName(op);
        EXPECT_EQ(entriesIn(dir.path()), before) << testing::ioOpName(op) << ": no temporary is left";
    }
    // A write that moves nothing says so, not whatever errno held before.
    FaultIo io;
    io.writeNothing(true);
    errno = ENOSPC;
    const IoResult r = writeWholeFile(target, Bytes(10, 9), io);
    EXPECT_NE(r.error.find("nothing was written"), std::string::npos) << r.error;
    EXPECT_EQ(r.error.find(systemReason(ENOSPC)), std::string::npos) << r.error;
}

TEST(FileLayer, StateFoldersOthersCanWriteAreNotUsed)
{
    ScratchFile home(ScratchFile::Kind::Directory);
    const std::string tessel = home.path() + "/tessel", recovery = tessel + "/recovery";
    ASSERT_TRUE(makeDirectories(recovery).ok);
    struct stat st;
    ASSERT_EQ(::stat(tessel.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    ASSERT_TRUE(replaceFileDurably(recovery, "r", Bytes{1}).ok);

    const std::string shared = "is shared with other users, so Tessel keeps no recovery files or backups there.";
    ASSERT_EQ(::chmod(tessel.c_str(), 0770), 0);
    IoResult r = replaceFileDurably(recovery, "r", Bytes{2});
    EXPECT_EQ(r.error, "The folder " + tessel + " " + shared);
    ASSERT_EQ(::chmod(tessel.c_str(), 0700), 0);

    FaultIo io; // owned by someone else
    io.alterLinkStatus = [](FileStatus& s) { s.owner = ::geteuid() + 1; };
    r = makeDirectories(recovery, io);
    EXPECT_EQ(r.error, "The folder " + recovery + " " + shared);

    const std::string elsewhere = home.path() + "/elsewhere";
    std::filesystem::rename(recovery, elsewhere);
    std::filesystem::create_directory_symlink(elsewhere, recovery);
    r = replaceFileDurably(recovery, "r", Bytes{3});
    EXPECT_NE(r.error.find("is a symbolic link"), std::string::npos) << r.error;
    EXPECT_EQ(testing::readFileBytes(elsewhere + "/r"), Bytes{1});
}

TEST(FileLayer, ReadOnlyRomTakesNoLockAndRefusesEveryWrite)
{
    ScratchFile file;
    file.write(Bytes(1024, 7));
    RomFile reader, editor;
    ASSERT_TRUE(reader.openReadOnly(file.path()).ok);
    ASSERT_TRUE(editor.open(file.path()).ok) << "the reader holds no lock";
    const std::string refused = std::filesystem::path(file.path()).filename().string() + " was opened for reading only.";
    EXPECT_EQ(reader.write(0, Bytes{1}).error, refused);
    EXPECT_EQ(reader.truncate(10).error, refused);
    EXPECT_EQ(reader.sync().error, refused);
    EXPECT_EQ(reader.size().value, 1024);
    EXPECT_EQ(file.read(), Bytes(1024, 7));

    FaultIo io;
    RomFile failing(io);
    ASSERT_TRUE(failing.openReadOnly(file.path()).ok);
    io.failOn(IoOp::Size, 1, EIO);
    EXPECT_EQ(failing.size().error, "Cannot read the size of the ROM: " + systemReason(EIO));
}

TEST(FileLayer, Crc32IsTheStandardOne)
{
    const std::string check = "123456789";
    EXPECT_EQ(crc32Of(std::span(reinterpret_cast<const std::uint8_t*>(check.data()), check.size())), 0xCBF43926u);
    EXPECT_EQ(crc32Of({}), 0u);
}

} // namespace
} // namespace tessel

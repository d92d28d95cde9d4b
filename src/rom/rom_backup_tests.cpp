#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

#include "file/state_files.h"
#include "rom/rom_backup.h"
#include "support/fault_io.h"
#include "support/rom_fixture.h"

namespace tessel {
namespace {

using testing::FaultIo;
using testing::IoOp;
using testing::RomFixture;
using testing::ScratchFile;

// 2026-12-08 21:12:30 UTC and, in whatever zone the test runs, its name.
constexpr std::time_t kNoon = 1796764350;

std::vector<std::string> filesIn(const std::string& dir)
{
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(RomBackup, ACopyOfTheWholeFileNamedByTheTime)
{
    RomFixture rom;
    ScratchFile scratch(ScratchFile::Kind::Directory);
    const std::string dir = scratch.path() + "/state/backups"; // made on demand
    std::string made;
    ASSERT_TRUE(backupRom(rom.state().romFile, dir, kNoon, &made).ok);
    const std::string name = baseName(rom.path());
    EXPECT_EQ(baseName(made).size(), name.size() + 1 + 15 + 4) << made;
    EXPECT_EQ(testing::readFileBytes(made), rom.original);
    EXPECT_EQ(filesIn(dir), std::vector{baseName(made)}) << "no temporary file is left behind";

    // The same second again: a new name, the first backup untouched.
    std::string second;
    ASSERT_TRUE(backupRom(rom.state().romFile, dir, kNoon, &second).ok);
    EXPECT_EQ(second, made.substr(0, made.size() - 4) + "-2.bak");
    EXPECT_EQ(backupsOf(dir, name), (std::vector{baseName(made), baseName(second)}));
}

TEST(RomBackup, KeepsTheTenNewestOfEachRomName)
{
    RomFixture rom;
    ScratchFile dir(ScratchFile::Kind::Directory);
    const std::string name = baseName(rom.path());
    // Files that are no backup of this ROM, whatever their names look like.
    const std::vector<std::string> strangers = {"other.smc.20000101-000000.bak", name + ".20000101-000000.bak.tmp",
                                                name + ".2000010-0000000.bak", name + ".20000101-000000-x.bak"};
    for (const std::string& s : strangers) std::ofstream(dir.path() + "/" + s) << "x";

    std::vector<std::string> made;
    for (int i = 0; i < 13; ++i) {
        std::string path;
        // Out of order in time, and two in one second.
        const std::time_t when = kNoon + (i == 12 ? -86400 : i == 11 ? 10 * 60 : i * 60);
        ASSERT_TRUE(backupRom(rom.state().romFile, dir.path(), when, &path).ok) << i;
        made.push_back(baseName(path));
    }
    // The ten newest: minutes 2 to 10, twice at 10. Those at 0 and 1 went
    // as the eleventh and twelfth came; the one a day older went at once.
    EXPECT_EQ(backupsOf(dir.path(), name), std::vector(made.begin() + 2, made.begin() + 12));
    for (const std::string& s : strangers) EXPECT_TRUE(std::filesystem::exists(dir.path() + "/" + s)) << s;
}

TEST(RomBackup, FailuresSayWhyAndLeaveNoBackup)
{
    const struct {
        const char* what;
        IoOp op;
        int error;
        const char* reason;
    } faults[] = {
        {"the second descriptor", IoOp::Open, EMFILE, "Too many open files"},
        {"reading the ROM", IoOp::Pread, EIO, "Input/output error"},
        {"its size", IoOp::Size, EIO, "Input/output error"},
    };
    for (const auto& f : faults) {
        FaultIo io;
        RomFixture rom({}, io);
        ScratchFile dir(ScratchFile::Kind::Directory);
        io.failOn(f.op, 1, f.error);
        const IoResult r = backupRom(rom.state().romFile, dir.path(), kNoon);
        EXPECT_FALSE(r.ok) << f.what;
        EXPECT_NE(r.error.find(f.reason), std::string::npos) << f.what << ": " << r.error;
        EXPECT_TRUE(filesIn(dir.path()).empty()) << f.what;
    }

    RomFixture rom;
    ScratchFile notAFolder;
    IoResult r = backupRom(rom.state().romFile, notAFolder.path() + "/backups", kNoon);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("Not a directory"), std::string::npos) << r.error;

    // Another file now lies at the ROM's path: it is not the one to copy.
    ScratchFile dir(ScratchFile::Kind::Directory);
    std::filesystem::rename(rom.path(), rom.path() + ".moved");
    std::ofstream(rom.path()) << "someone else's file";
    r = backupRom(rom.state().romFile, dir.path(), kNoon);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("no longer"), std::string::npos) << r.error;
    EXPECT_TRUE(filesIn(dir.path()).empty());
    std::filesystem::remove(rom.path() + ".moved");
}

} // namespace
} // namespace tessel

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

#include "file/state_files.h"
#include "rom/rom_backup.h"
#include "rom/rom_session.h"
#include "support/fault_io.h"
#include "support/rom_fixture.h"

namespace tessel {
namespace {

using testing::RomFixture;
using testing::ScratchFile;

// 2026-12-08 21:12:30 UTC and, in whatever zone the test runs, its name.
constexpr std::time_t kNoon = 1796764350;

// The synthetic ROM and the key the program takes when it opens it.
struct OpenedRom : RomFixture {
    OpenedRom() { EXPECT_TRUE(fileKeyOfPath(path(), key).ok); }
    IoResult backup(const std::string& dir, std::time_t when, std::string* made = nullptr) const
    {
        return backupRom(path(), key, dir, when, made);
    }
    FileKey key;
};

std::vector<std::string> filesIn(const std::string& dir)
{
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(RomBackup, ACopyOfTheWholeFileNamedByTheTime)
{
    OpenedRom rom;
    ScratchFile scratch(ScratchFile::Kind::Directory);
    const std::string dir = scratch.path() + "/state/backups"; // made on demand
    std::string made;
    ASSERT_TRUE(rom.backup(dir, kNoon, &made).ok);
    const std::string name = backupName(rom.path());
    EXPECT_EQ(baseName(made).size(), name.size() + 1 + 15 + 4) << made;
    EXPECT_EQ(testing::readFileBytes(made), rom.original);
    EXPECT_EQ(filesIn(dir), std::vector{baseName(made)}) << "no temporary file is left behind";

    // The same second again: a new name, the first backup untouched.
    std::string second;
    ASSERT_TRUE(rom.backup(dir, kNoon, &second).ok);
    EXPECT_EQ(second, made.substr(0, made.size() - 4) + "-2.bak");
    EXPECT_EQ(backupsOf(dir, name), (std::vector{baseName(made), baseName(second)}));
}

TEST(RomBackup, KeepsTheTenNewestOfEachRomName)
{
    OpenedRom rom;
    ScratchFile dir(ScratchFile::Kind::Directory);
    const std::string name = backupName(rom.path());
    // Files that are no backup of this ROM, whatever their names look like.
    const std::vector<std::string> strangers = {"other.smc.20000101-000000.bak", name + ".20000101-000000.bak.tmp",
                                                name + ".2000010-0000000.bak", name + ".20000101-000000-x.bak"};
    for (const std::string& s : strangers) std::ofstream(dir.path() + "/" + s) << "x";

    std::vector<std::string> made;
    for (int i = 0; i < 13; ++i) {
        std::string path;
        // Out of order in time, and two in one second.
        const std::time_t when = kNoon + (i == 12 ? -86400 : i == 11 ? 10 * 60 : i * 60);
        ASSERT_TRUE(rom.backup(dir.path(), when, &path).ok) << i;
        made.push_back(baseName(path));
    }
    // The ten newest: minutes 2 to 10, twice at 10. Those at 0 and 1 went
    // as the eleventh and twelfth came; the one a day older went at once.
    EXPECT_EQ(backupsOf(dir.path(), name), std::vector(made.begin() + 2, made.begin() + 12));
    for (const std::string& s : strangers) EXPECT_TRUE(std::filesystem::exists(dir.path() + "/" + s)) << s;

    // Twelve in one second: a pruned name is not taken again for a newer one.
    ScratchFile second(ScratchFile::Kind::Directory);
    std::string last;
    for (int i = 0; i < 12; ++i) ASSERT_TRUE(rom.backup(second.path(), kNoon, &last).ok) << i;
    const std::vector<std::string> kept = backupsOf(second.path(), name);
    ASSERT_EQ(kept.size(), 10u);
    EXPECT_EQ(second.path() + "/" + kept.back(), last);
    EXPECT_NE(kept.front().find("-3.bak"), std::string::npos) << kept.front();
}

TEST(RomBackup, SameNamedRomsInTwoFoldersKeepTenEachAndOldStyleNamesStay)
{
    ScratchFile folders[2] = {ScratchFile(ScratchFile::Kind::Directory), ScratchFile(ScratchFile::Kind::Directory)};
    ScratchFile backups(ScratchFile::Kind::Directory);
    const std::string oldStyle = backups.path() + "/game.smc.20000101-000000.bak";
    std::ofstream(oldStyle) << "x";
    std::string paths[2];
    for (int f = 0; f < 2; ++f) std::ofstream(paths[f] = folders[f].path() + "/game.smc") << "ROM " << f;
    ASSERT_NE(backupName(paths[0]), backupName(paths[1]));
    EXPECT_EQ(backupName(paths[0]).rfind("game.smc-", 0), 0u) << backupName(paths[0]);
    for (int i = 0; i < 12; ++i)
        for (int f = 0; f < 2; ++f) {
            FileKey key;
            ASSERT_TRUE(fileKeyOfPath(paths[f], key).ok);
            ASSERT_TRUE(backupRom(paths[f], key, backups.path(), kNoon + 60 * i).ok) << f << " " << i;
        }
    for (int f = 0; f < 2; ++f) {
        const auto kept = backupsOf(backups.path(), backupName(paths[f]));
        ASSERT_EQ(kept.size(), 10u) << f;
        EXPECT_EQ(testing::readFileBytes(backups.path() + "/" + kept.back()).back(), '0' + f);
    }
    EXPECT_TRUE(std::filesystem::exists(oldStyle));
}

TEST(RomBackup, ASparseRomsBackupStaysSparseAndAFileTooLargeIsNoRom)
{
    ScratchFile dir(ScratchFile::Kind::Directory);
    const std::string path = dir.path() + "/sparse.smc";
    constexpr long long kLength = 12LL << 20;
    std::ofstream(path) << "data at the start";
    ASSERT_EQ(::truncate(path.c_str(), kLength), 0);
    std::fstream(path, std::ios::in | std::ios::out).seekp(6 << 20) << "and in the middle";
    FileKey key;
    ASSERT_TRUE(fileKeyOfPath(path, key).ok);
    std::string made;
    ASSERT_TRUE(backupRom(path, key, dir.path() + "/backups", kNoon, &made).ok);
    struct ::stat source, copy;
    ASSERT_EQ(::stat(path.c_str(), &source), 0);
    ASSERT_EQ(::stat(made.c_str(), &copy), 0);
    EXPECT_EQ(copy.st_size, kLength);
    EXPECT_LE(copy.st_blocks, source.st_blocks + 16) << "a hole was filled";
    EXPECT_EQ(testing::readFileBytes(made), testing::readFileBytes(path));

    ASSERT_EQ(::truncate(path.c_str(), RomFile::kLargestRomBytes + 1), 0);
    std::string reason;
    EXPECT_EQ(checkRomIdentity(path, systemFileIo(), nullptr, &reason), RomIdentity::CannotOpen);
    EXPECT_NE(reason.find("larger than any Oakenshore ROM"), std::string::npos) << reason;
    RomFile file;
    EXPECT_FALSE(file.openReadOnly(path).ok);
}

TEST(RomBackup, FailuresSayWhyAndLeaveNoBackup)
{
    OpenedRom rom;
    ScratchFile notAFolder;
    IoResult r = rom.backup(notAFolder.path() + "/backups", kNoon);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("Not a directory"), std::string::npos) << r.error;

    // Another file now lies at the ROM's path: it is not the one to copy;
    // then none does.
    ScratchFile dir(ScratchFile::Kind::Directory);
    std::filesystem::rename(rom.path(), rom.path() + ".moved");
    std::ofstream(rom.path()) << "someone else's file";
    r = rom.backup(dir.path(), kNoon);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("no longer"), std::string::npos) << r.error;
    std::filesystem::remove(rom.path());
    r = rom.backup(dir.path(), kNoon);
    EXPECT_NE(r.error.find("No such file"), std::string::npos) << r.error;
    EXPECT_TRUE(filesIn(dir.path()).empty());
    std::filesystem::rename(rom.path() + ".moved", rom.path());

    // A folder others may write is not used.
    ASSERT_EQ(::chmod(dir.path().c_str(), 0777), 0);
    r = rom.backup(dir.path(), kNoon);
    EXPECT_NE(r.error.find("is shared with other users"), std::string::npos) << r.error;
    EXPECT_TRUE(filesIn(dir.path()).empty());
}

TEST(RomBackup, AnOldBackupThatCannotBeRemovedIsReported)
{
    OpenedRom rom;
    ScratchFile dir(ScratchFile::Kind::Directory);
    ASSERT_TRUE(rom.backup(dir.path(), kNoon).ok);
    testing::FaultIo io;
    io.failOn(testing::IoOp::Unlink, 2, EACCES); // the first removes the temporary copy
    std::string made;
    const IoResult r = backupRom(rom.path(), rom.key, dir.path(), kNoon + 60, &made, 1, io);
    EXPECT_NE(r.error.find("an older one cannot be removed"), std::string::npos) << r.error;
    EXPECT_EQ(testing::readFileBytes(made), rom.original) << "the new backup is there";
    EXPECT_EQ(filesIn(dir.path()).size(), 2u);
}

} // namespace
} // namespace tessel

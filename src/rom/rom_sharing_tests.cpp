// The ROM file is shared with other programs: they replace it, change it in
// place or cut it short while Tessel holds it. Saving writes nothing into a
// file that is no longer at the path, asks before writing over another
// program's change, and never writes back a sprite the user did not edit.
#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "model/edit_marks.h"
#include "rom/rom_session.h"
#include "rom/sprite_catalogue.h"
#include "support/fault_io.h"
#include "support/rom_fixture.h"

namespace tessel {
namespace {

using testing::FaultIo;
using testing::RomFixture;

void editSprite(EditorState& s, int sprite)
{
    s.document.spriteStore[sprite].pixels[0] ^= 5;
    markSpriteEdited(s.document, sprite);
}

// Writes `bytes` at `offset` through a descriptor of another program and
// gives the file a modification time of its own (the system's clock may not
// move between two writes that follow each other closely).
void changeInPlace(const std::string& path, long long offset, std::vector<std::uint8_t> bytes)
{
    const int fd = ::open(path.c_str(), O_WRONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::pwrite(fd, bytes.data(), bytes.size(), offset), static_cast<long>(bytes.size()));
    const timespec times[2] = {{0, UTIME_OMIT}, {1234567890, 0}};
    ASSERT_EQ(::futimens(fd, times), 0);
    ::close(fd);
}

TEST(RomSharing, AFileReplacedOrDeletedGetsNothingAndTheEditsStayUnsaved)
{
    for (const bool deleted : {false, true}) {
        RomFixture rom;
        EditorState& s = rom.state();
        std::vector<std::uint8_t> theirs = rom.original;
        theirs[0x200] ^= 0xFF;
        const std::string other = rom.path() + ".new";
        if (deleted) {
            ASSERT_EQ(::unlink(rom.path().c_str()), 0);
        } else {
            testing::ScratchFile written;
            written.write(theirs);
            ASSERT_EQ(::rename(written.path().c_str(), rom.path().c_str()), 0);
        }
        editSprite(s, 0);
        for (const SaveResult& r : {saveAllSprites(s.document), saveSprite(s.document, s.currentSprite),
                                    saveAllSprites(s.document, {.overOutsideChange = true})}) {
            EXPECT_FALSE(r.ok);
            EXPECT_EQ(r.file, HeldFile::Replaced);
            EXPECT_EQ(r.tilesWritten, 0);
        }
        RawPalette colours = s.document.rawPalettes[1];
        colours.red[1] ^= 1;
        EXPECT_EQ(writePalette(s.document, 1, colours).file, HeldFile::Replaced);
        EXPECT_TRUE(hasUnsavedEdits(s.document)) << (deleted ? "deleted" : "replaced");
        if (!deleted) {
            EXPECT_EQ(testing::readFileBytes(rom.path()), theirs);
        }
    }
}

TEST(RomSharing, AnOutsideChangeIsKeptAndWrittenOverOnlyWhenTheUserSaysSo)
{
    RomFixture rom;
    EditorState& s = rom.state();
    const long long at700 = spriteCatalogue()[700].romOffset;
    changeInPlace(rom.path(), at700, {0xAB, 0xCD});
    editSprite(s, 0);

    SaveResult r = saveAllSprites(s.document);
    EXPECT_EQ(r.file, HeldFile::ChangedOutside);
    EXPECT_EQ(r.tilesWritten, 0);
    std::vector<std::uint8_t> expected = rom.original;
    expected[at700] = 0xAB;
    expected[at700 + 1] = 0xCD;
    EXPECT_EQ(rom.fileBytes(), expected);

    r = saveAllSprites(s.document, {.overOutsideChange = true});
    ASSERT_TRUE(r.complete()) << r.error;
    EXPECT_EQ(r.spritesSaved, 1);
    EXPECT_EQ(r.tilesWritten, 1);
    // Sprite 0's first tile is ours now; sprite 700 keeps the other
    // program's bytes, and the next save no longer asks.
    const auto after = rom.fileBytes();
    EXPECT_EQ(after[at700], 0xAB);
    EXPECT_NE(after[kSpriteAreaBegin], rom.original[kSpriteAreaBegin]);
    editSprite(s, 1);
    EXPECT_TRUE(saveAllSprites(s.document).complete());
}

TEST(RomSharing, AFileCutShortDuringASaveIsCutBackNotGrown)
{
    FaultIo io;
    RomFixture rom({}, io);
    EditorState& s = rom.state();
    editSprite(s, 1143); // its first tile at 0x154740
    // Another program cuts the file at that tile after our size check and
    // before the write lands: the write then makes it longer again.
    io.beforeWrite = [&] { ASSERT_EQ(::truncate(rom.path().c_str(), 0x154740), 0); };
    const SaveResult r = saveAllSprites(s.document);
    io.beforeWrite = nullptr;
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("shortened"), std::string::npos) << r.error;
    EXPECT_EQ(rom.fileBytes().size(), 0x154740u);
    EXPECT_TRUE(hasUnsavedEdits(s.document));
}

TEST(RomSharing, AFileCutShortBeforeOurWritesIsNeverLeftLongerThanTheOtherProgramLeftIt)
{
    // The other program cuts the file at 0x150000, before the sprites'
    // tiles, just as our first write goes out; that write then lands past
    // its end. With two runs the second write is refused as extending.
    constexpr long long kTheirLength = 0x150000;
    for (const std::vector<int>& sprites : {std::vector<int>{1143}, std::vector<int>{1100, 1143}}) {
        FaultIo io;
        RomFixture rom({}, io);
        EditorState& s = rom.state();
        for (int i : sprites) editSprite(s, i);
        bool cut = false; // once
        io.beforeWrite = [&] { cut = cut || ::truncate(rom.path().c_str(), kTheirLength) == 0; };
        const SaveResult r = saveAllSprites(s.document);
        io.beforeWrite = nullptr;
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.unsavedSprites, sprites);
        const std::vector<std::uint8_t> bytes = rom.fileBytes();
        ASSERT_EQ(bytes.size(), static_cast<std::size_t>(kTheirLength)) << sprites.size() << " sprites";
        EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), rom.original.begin()));
    }
}

TEST(RomSharing, AStatusChangeIsAskedAboutOnlyWhenTheContentsMovedOrTheFileWasProtected)
{
    RomFixture rom;
    EditorState& s = rom.state();
    const long long tile = spriteCatalogue()[5].romOffset;
    editSprite(s, 5);
    struct ::stat before;
    ASSERT_EQ(::stat(rom.path().c_str(), &before), 0);
    auto putTimeBack = [&] {
        const timespec times[2] = {before.st_atim, before.st_mtim};
        ASSERT_EQ(::utimensat(AT_FDCWD, rom.path().c_str(), times, 0), 0);
    };
    // A touch with the old time: the same bytes, so the save goes ahead.
    putTimeBack();
    EXPECT_TRUE(saveAllSprites(s.document).complete());
    // An in-place write into an edited sprite with the time put back.
    editSprite(s, 5);
    ASSERT_EQ(::stat(rom.path().c_str(), &before), 0);
    changeInPlace(rom.path(), tile + 4, {0x5A});
    putTimeBack();
    EXPECT_EQ(saveAllSprites(s.document).file, HeldFile::ChangedOutside);
    // Write-protected while open: refused, nothing written.
    ASSERT_EQ(::chmod(rom.path().c_str(), 0444), 0);
    const SaveResult r = saveAllSprites(s.document, {.overOutsideChange = true});
    ::chmod(rom.path().c_str(), 0644);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("write-protected"), std::string::npos) << r.error;
    EXPECT_EQ(rom.fileBytes()[tile + 4], 0x5A);
}

TEST(RomSharing, AWriteProtectedFileIsRefusedAlsoForRoot)
{
    RomFixture rom;
    ASSERT_EQ(::chmod(rom.path().c_str(), 0444), 0);
    std::string reason;
    EXPECT_EQ(checkRomIdentity(rom.path(), systemFileIo(), nullptr, &reason),
              RomIdentity::CannotOpen);
    EXPECT_NE(reason.find("write-protected"), std::string::npos) << reason;
    RomFile file;
    EXPECT_FALSE(file.open(rom.path()).ok);
    ::chmod(rom.path().c_str(), 0644);
}

} // namespace
} // namespace tessel

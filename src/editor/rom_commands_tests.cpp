#include "file/system_reason.h"
#include "editor/rom_commands.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <random>
#include <sys/file.h>
#include <unistd.h>

#include "model/command_ids.h"
#include "model/edit_marks.h"
#include "rom/rom_session.h"
#include "support/fault_io.h"
#include "support/recording_view.h"
#include "support/rom_fixture.h"
#include "support/sprite_checks.h"

namespace tessel {
namespace {

using testing::expectSpriteAsGenerated;
using testing::FaultIo;
using testing::IoOp;
using testing::RomFixture;
using testing::ScratchFile;

// Whether some other opener could lock the file now, i.e. we hold no lock.
bool lockableByOthers(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDWR);
    if (fd < 0) return false;
    const bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    return free;
}

const int kOpenEnables[] = {ids::Cut,    ids::Copy,  ids::CloseRom,      ids::SaveCurrentSprite,
                            ids::SaveAllSprites, ids::Delete, ids::HFlip, ids::VFlip,
                            ids::PaletteEditor,  ids::ViewSpriteInfo};

TEST(RomCommands, OpeningEnablesTheRomCommands)
{
    auto state = std::make_unique<EditorState>();
    ScratchFile file;
    file.write(testing::buildSyntheticRom());
    state->currentSprite = 7;
    ASSERT_TRUE(openRom(*state, file.path()).ok);
    EXPECT_TRUE(state->romOpen());
    EXPECT_EQ(state->currentSprite, 0);
    for (int id : kOpenEnables) EXPECT_TRUE(state->window.commands.isEnabled(id)) << id;
    EXPECT_FALSE(state->window.commands.isEnabled(ids::Undo));
    EXPECT_FALSE(state->window.commands.isEnabled(ids::Paste));
    EXPECT_TRUE(state->window.commands.isEnabled(ids::OpenRom));
    EXPECT_FALSE(lockableByOthers(file.path()));
}

TEST(RomCommands, ClosingGraysThemAndReleasesTheFile)
{
    RomFixture rom;
    EditorState& s = rom.state();
    setCommandEnabled(s, ids::Undo, true);
    setCommandEnabled(s, ids::Paste, true);
    const std::uint8_t kept = s.document.spriteStore[12].pixels[9];
    closeRom(s);
    EXPECT_FALSE(s.romOpen());
    EXPECT_EQ(s.currentSprite, -1);
    for (int id : {ids::Undo, ids::Cut, ids::Copy, ids::Paste, ids::Delete, ids::HFlip,
                   ids::VFlip, ids::CloseRom, ids::SaveCurrentSprite, ids::SaveAllSprites,
                   ids::PaletteEditor, ids::ViewSpriteInfo})
        EXPECT_FALSE(s.window.commands.isEnabled(id)) << id;
    EXPECT_TRUE(s.window.commands.isEnabled(ids::OpenRom));
    EXPECT_EQ(s.document.spriteStore[12].pixels[9], kept); // records stay as they were
    EXPECT_TRUE(lockableByOthers(rom.path()));
    EXPECT_FALSE(saveAllSprites(s.document).ok);
    EXPECT_FALSE(saveCurrentSprite(s).ok);
    EXPECT_FALSE(hasUnsavedEdits(s.document));
}

TEST(RomCommands, ASecondRomReplacesTheFirst)
{
    RomFixture rom;
    EditorState& s = rom.state();
    ScratchFile second;
    auto bytes = testing::buildSyntheticRom();
    bytes[0x110200] ^= 0x80; // sprite 0 differs at (0, 0)
    second.write(bytes);
    s.currentSprite = 40;
    ASSERT_TRUE(openRom(s, second.path()).ok);
    EXPECT_EQ(s.document.romFile.path(), second.path());
    EXPECT_EQ(s.currentSprite, 0);
    EXPECT_EQ(s.document.spriteStore[0].pixels[0], testing::expectedPixel(0, 0, 0) ^ 1);
    EXPECT_TRUE(lockableByOthers(rom.path()));
    EXPECT_FALSE(lockableByOthers(second.path()));
}

TEST(RomCommands, ReopeningTheSameRomWorks)
{
    RomFixture rom;
    EditorState& s = rom.state();
    s.document.spriteStore[3].pixels[0] = 9;
    EXPECT_EQ(checkRomIdentity(rom.path(), s.document.romFile.io(), &s.document.romFile), RomIdentity::TitleMatches);
    ASSERT_TRUE(openRom(s, rom.path()).ok);
    EXPECT_TRUE(s.romOpen());
    EXPECT_EQ(s.document.spriteStore[3].pixels[0], testing::expectedPixel(3, 0, 0));
    EXPECT_FALSE(lockableByOthers(rom.path()));
    EXPECT_TRUE(s.window.commands.isEnabled(ids::SaveAllSprites));
}

TEST(RomCommands, AFailedOpenChangesNothing)
{
    RomFixture rom;
    EditorState& s = rom.state();
    s.currentSprite = 5;
    s.document.spriteStore[5].pixels[0] = 9;
    ScratchFile locked;
    locked.write(testing::buildSyntheticRom());
    const int other = ::open(locked.path().c_str(), O_RDWR);
    ASSERT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);

    ScratchFile directory(ScratchFile::Kind::Directory);
    for (const std::string& path :
         {std::string("/nonexistent/rom.smc"), locked.path(), directory.path()}) {
        const IoResult r = openRom(s, path);
        EXPECT_FALSE(r.ok) << path;
        EXPECT_FALSE(r.error.empty());
        EXPECT_TRUE(s.romOpen());
        EXPECT_EQ(s.document.romFile.path(), rom.path());
        EXPECT_EQ(s.currentSprite, 5);
        EXPECT_EQ(s.document.spriteStore[5].pixels[0], 9);
        EXPECT_TRUE(s.window.commands.isEnabled(ids::SaveAllSprites));
    }
    ::close(other);
}

// Files the user chose to open in spite of the title warning.
TEST(RomCommands, OddFilesOpenWithoutHarm)
{
    std::mt19937 rng(2);
    std::vector<std::uint8_t> noise(0x180000);
    for (auto& b : noise) b = static_cast<std::uint8_t>(rng());
    for (const auto& bytes : {std::vector<std::uint8_t>{}, std::vector<std::uint8_t>{0x80}, noise}) {
        auto state = std::make_unique<EditorState>();
        ScratchFile file;
        file.write(bytes);
        ASSERT_TRUE(openRom(*state, file.path()).ok) << bytes.size();
        if (bytes.size() < 0x110200) {
            // Nothing of the sprites or palettes is in the file.
            EXPECT_EQ(state->document.spriteStore[0].pixels[0], 15);
            EXPECT_EQ(state->document.spriteStore[1143].pixels[15 * 64 + 15], 15);
            EXPECT_EQ(colourOf(state->document.displayPalettes[9], 4), (Rgb{255, 255, 255}));
        }
        // Saving what was loaded leaves the file as it was.
        EXPECT_TRUE(saveAllSprites(state->document).ok);
        EXPECT_EQ(file.read(), bytes);
    }
}

TEST(RomCommands, AReadErrorWhileLoadingLeavesTheOldRomLoaded)
{
    FaultIo io;
    RomFixture rom({}, io);
    EditorState& s = rom.state();
    ScratchFile second;
    second.write(testing::buildSyntheticRom());
    s.document.spriteStore[1].pixels[0] = 9;
    io.failOn(IoOp::Pread, 1, EIO);
    const IoResult r = openRom(s, second.path());
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find(systemReason(EIO)), std::string::npos) << r.error;
    EXPECT_EQ(s.document.romFile.path(), rom.path());
    EXPECT_EQ(s.document.spriteStore[1].pixels[0], 9);
    EXPECT_TRUE(lockableByOthers(second.path()));
}

TEST(RomCommands, AReadErrorReopeningTheSameRomLeavesNoRomOpen)
{
    FaultIo io;
    RomFixture rom({}, io);
    EditorState& s = rom.state();
    io.failOn(IoOp::Pread, 2, EIO); // the palette block
    const IoResult r = openRom(s, rom.path());
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(s.romOpen());
    EXPECT_EQ(s.currentSprite, -1);
    EXPECT_FALSE(s.window.commands.isEnabled(ids::CloseRom));
    EXPECT_FALSE(s.window.commands.isEnabled(ids::SaveAllSprites));
    EXPECT_TRUE(lockableByOthers(rom.path()));
}

// The same ROM as a dump: without its 512-byte copier header.
std::vector<std::uint8_t> dumpOf(std::vector<std::uint8_t> rom)
{
    rom.erase(rom.begin(), rom.begin() + 512);
    return rom;
}

// Opening a dump reads every sprite and palette from 512 bytes earlier, and
// saving writes there: the same edit changes the same bytes, 512 apart.
TEST(RomKind, ADumpIsReadAndWrittenWhereItsBytesAre)
{
    const auto copier = testing::buildSyntheticRom();
    ScratchFile copierFile, dumpFile;
    copierFile.write(copier);
    dumpFile.write(dumpOf(copier));
    auto a = std::make_unique<EditorState>();
    auto b = std::make_unique<EditorState>();
    ASSERT_TRUE(openRom(*a, copierFile.path()).ok);
    ASSERT_TRUE(openRom(*b, dumpFile.path()).ok);
    EXPECT_TRUE(a->document.romFile.hasCopierHeader());
    EXPECT_FALSE(b->document.romFile.hasCopierHeader());
    for (int i = 0; i < kSpriteCount; ++i)
        ASSERT_EQ(a->document.spriteStore[i].pixels, b->document.spriteStore[i].pixels) << "sprite " << i;
    for (int p = 0; p < kPaletteCount; ++p) {
        EXPECT_EQ(a->document.rawPalettes[p].red, b->document.rawPalettes[p].red) << "palette " << p;
        EXPECT_EQ(a->document.rawPalettes[p].blue, b->document.rawPalettes[p].blue) << "palette " << p;
    }

    for (EditorState* s : {a.get(), b.get()}) {
        s->document.spriteStore[1143].pixels[0] ^= 7;
        markSpriteEdited(s->document, 1143);
        ASSERT_TRUE(saveAllSprites(s->document).complete());
        RawPalette colours = s->document.rawPalettes[3];
        colours.red[4] = 1;
        ASSERT_TRUE(writePalette(s->document, 3, colours).ok);
    }
    const auto savedCopier = copierFile.read();
    const auto savedDump = dumpFile.read();
    ASSERT_EQ(savedDump.size(), copier.size() - 512) << "the header was neither added nor removed";
    int changed = 0;
    for (std::size_t i = 0; i < savedCopier.size(); ++i) {
        if (savedCopier[i] == copier[i]) continue;
        ++changed;
        ASSERT_GE(i, 512u);
        EXPECT_EQ(savedDump[i - 512], savedCopier[i]) << "at copier offset " << i;
    }
    EXPECT_GT(changed, 1);
    EXPECT_EQ(dumpOf(savedCopier), savedDump);
}

TEST(RomCommands, RefreshReadsTheSpriteAndItsPaletteAgain)
{
    RomFixture rom;
    EditorState& s = rom.state();
    testing::RecordingView view;
    s.window.view = &view;
    s.current().pixels[0] = 9;
    s.current().pixels[5 * 64 + 5] = 3;
    s.document.rawPalettes[5].red[1] = 0;
    s.document.displayPalettes[5].red[1] = 0;
    s.undo.top = 1;
    s.undo.levels[0][0] = 4;
    s.selection.selectionRect = {1, 2, 3, 4};

    ASSERT_TRUE(reloadCurrentSprite(s).ok);
    expectSpriteAsGenerated(s, 0);
    EXPECT_EQ(s.document.rawPalettes[5].red[1], testing::expectedRawColour(5, 1).red);
    EXPECT_EQ(s.document.displayPalettes[5].red[1], 8 * testing::expectedRawColour(5, 1).red + 7);
    EXPECT_EQ(view.repaints, 1);
    EXPECT_EQ(s.undo.top, 1); // undo and selection are not touched
    EXPECT_EQ(s.undo.levels[0][0], 4);
    EXPECT_EQ(s.selection.selectionRect.right, 3);
}

} // namespace
} // namespace tessel

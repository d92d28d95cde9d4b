#include <gtest/gtest.h>
#include <random>
#include <sys/stat.h>

#include "model/edit_marks.h"
#include "rom/rom_session.h"
#include "rom/sprite_catalogue.h"
#include "support/fault_io.h"
#include "support/rom_fixture.h"

namespace tessel {
namespace {

using testing::FaultIo;
using testing::IoOp;
using testing::RomFixture;
using testing::SyntheticRomOptions;

bool insideSomeTile(long long offset)
{
    for (const CatalogueEntry& e : spriteCatalogue())
        if (offset >= e.romOffset && offset < e.endOffset()) return true;
    return false;
}

TEST(RomSaving, SaveAllRightAfterOpeningChangesNothing)
{
    FaultIo io;
    RomFixture rom({}, io);
    io.resetCounts();
    const SaveResult r = saveAllSprites(rom.state().document);
    EXPECT_TRUE(r.complete());
    EXPECT_EQ(rom.fileBytes(), rom.original);
    EXPECT_EQ(io.calls(IoOp::Pwrite), 0);
    EXPECT_EQ(io.calls(IoOp::Fsync), 0);
    EXPECT_FALSE(hasUnsavedEdits(rom.state().document));
}

TEST(RomSaving, RandomEditsReachOnlyTheTilesTheyBelongTo)
{
    RomFixture rom;
    EditorState& s = rom.state();
    std::mt19937 rng(11);
    for (int n = 0; n < 3000; ++n) {
        // Anywhere in the buffer, with random high nibbles: pixels outside a
        // sprite and the high four bits must never reach the file.
        const int i = rng() % kSpriteCount, x = rng() % 64, y = rng() % 80;
        s.document.spriteStore[i].pixels[y * 64 + x] = static_cast<std::uint8_t>(rng());
        markSpriteEdited(s.document, i);
    }
    auto edited = std::make_unique<EditorState>();
    edited->document.spriteStore = s.document.spriteStore;

    ASSERT_TRUE(hasUnsavedEdits(s.document));
    ASSERT_TRUE(saveAllSprites(s.document).complete());
    EXPECT_FALSE(hasUnsavedEdits(s.document));
    const auto after = rom.fileBytes();
    ASSERT_EQ(after.size(), rom.original.size());
    int changed = 0;
    for (std::size_t k = 0; k < after.size(); ++k)
        if (after[k] != rom.original[k]) {
            ++changed;
            ASSERT_TRUE(insideSomeTile(static_cast<long long>(k))) << "byte " << std::hex << k;
        }
    EXPECT_GT(changed, 100);

    // Loading the file again gives the low nibbles of every pixel inside each
    // sprite, and 0 outside it.
    ASSERT_TRUE(loadAllSprites(s.document).ok);
    for (int i = 0; i < kSpriteCount; ++i) {
        const SpriteRecord& r = s.document.spriteStore[i];
        for (int y = 0; y < 80; ++y)
            for (int x = 0; x < 64; ++x) {
                const bool inside = x < r.widthPixels() && y < r.heightPixels();
                const int expected = inside ? edited->document.spriteStore[i].pixels[y * 64 + x] & 15 : 0;
                ASSERT_EQ(r.pixels[y * 64 + x], expected) << i << " " << x << "," << y;
            }
    }
}

TEST(RomSaving, SavingTheCurrentSpriteWritesItsTilesOnly)
{
    FaultIo io;
    RomFixture rom({}, io);
    EditorState& s = rom.state();
    s.currentSprite = 1143; // 2 x 2 tiles at 0x154740
    s.current().pixels.fill(0);
    s.current().pixels[0] = 0x31; // index 1 at column 0 of row 0
    s.document.spriteStore[1142].pixels.fill(0); // another sprite's edit stays unsaved
    markSpriteEdited(s.document, 1142);
    io.resetCounts();
    ASSERT_TRUE(saveSprite(s.document, s.currentSprite).complete());
    EXPECT_EQ(io.calls(IoOp::Fsync), 1);

    auto expected = rom.original;
    std::fill(expected.begin() + 0x154740, expected.begin() + 0x1547C0, 0);
    expected[0x154740] = 0x80;
    EXPECT_EQ(rom.fileBytes(), expected);
    EXPECT_TRUE(hasUnsavedEdits(s.document)); // sprite 1142
}

TEST(RomSaving, AnUndoneEditIsNoEdit)
{
    RomFixture rom;
    EditorState& s = rom.state();
    const std::uint8_t before = s.document.spriteStore[700].pixels[3];
    s.document.spriteStore[700].pixels[3] = static_cast<std::uint8_t>((before + 1) & 15);
    markSpriteEdited(s.document, 700);
    EXPECT_TRUE(hasUnsavedEdits(s.document));
    s.document.spriteStore[700].pixels[3] = before;
    EXPECT_FALSE(hasUnsavedEdits(s.document));
    s.document.spriteStore[700].pixels[3] = static_cast<std::uint8_t>(before | 0x40); // high bits only
    s.document.spriteStore[700].pixels[79 * 64 + 63] = 5; // outside the 2 x 3 sprite
    EXPECT_FALSE(hasUnsavedEdits(s.document));
}

TEST(RomSaving, FewSystemCallsPerSaveAll)
{
    FaultIo io;
    RomFixture rom({}, io);
    EditorState& s = rom.state();
    // Three separate single-pixel edits: each changes plane bytes of one row
    // of one tile, at most two runs each (bytes 2r..2r+1 and 16+2r..17+2r).
    s.document.spriteStore[3].pixels[0] ^= 15;
    s.document.spriteStore[600].pixels[64 + 1] ^= 15;
    s.document.spriteStore[1100].pixels[2 * 64 + 2] ^= 15;
    for (int i : {3, 600, 1100}) markSpriteEdited(s.document, i);
    io.resetCounts();
    const SaveResult r = saveAllSprites(s.document);
    ASSERT_TRUE(r.complete());
    EXPECT_EQ(r.spritesSaved, 3);
    EXPECT_EQ(r.tilesWritten, 3);
    // One whole tile per write; nothing is read back from the file.
    EXPECT_EQ(io.calls(IoOp::Pwrite), 3);
    EXPECT_EQ(io.calls(IoOp::Pread), 0);
    EXPECT_EQ(io.calls(IoOp::Fsync), 1);
    // Each write checks the size; the file is checked before (fstat, stat,
    // size) and after (fstat, size).
    EXPECT_LE(io.totalCalls(), 3 * 2 + 1 + 5);
}

TEST(RomSaving, ShortWritesStillWriteEverything)
{
    FaultIo io;
    RomFixture rom({}, io);
    EditorState& s = rom.state();
    s.document.spriteStore[18].pixels.fill(7);
    markSpriteEdited(s.document, 18);
    io.limitWrites(5);
    ASSERT_TRUE(saveAllSprites(s.document).complete());
    ASSERT_TRUE(loadSprite(s.document, 18).ok);
    EXPECT_EQ(s.document.spriteStore[18].pixels[79 * 64 + 63], 7);
    EXPECT_FALSE(hasUnsavedEdits(s.document));
}

TEST(RomSaving, ATruncatedFileNeverGrows)
{
    // The file ends 16 bytes into the third tile of sprite 900.
    const long long cut = spriteCatalogue()[900].romOffset + 2 * 32 + 16;
    RomFixture rom(SyntheticRomOptions{.truncateAt = cut});
    EditorState& s = rom.state();
    for (auto& r : s.document.spriteStore) r.pixels.fill(3);
    for (int i = 0; i < kSpriteCount; ++i) markSpriteEdited(s.document, i);
    const SaveResult all = saveAllSprites(s.document);
    EXPECT_TRUE(all.ok);
    EXPECT_FALSE(all.complete());
    std::vector<int> expectedUnsaved;
    for (int i = 900; i < kSpriteCount; ++i) expectedUnsaved.push_back(i);
    EXPECT_EQ(all.unsavedSprites, expectedUnsaved);

    const auto after = rom.fileBytes();
    ASSERT_EQ(static_cast<long long>(after.size()), cut);
    // The two whole tiles of sprite 900 inside the file were written; the
    // cut tile was left as it was.
    ASSERT_TRUE(loadSprite(s.document, 899).ok);
    EXPECT_EQ(s.document.spriteStore[899].pixels[0], 3);
    for (long long k = cut - 16; k < cut; ++k) EXPECT_EQ(after[k], rom.original[k]);
    ASSERT_TRUE(loadSprite(s.document, 900).ok);
    EXPECT_EQ(s.document.spriteStore[900].pixels[0], 3);       // tile 0
    // Tile 2 kept the file's planes 0 and 1; planes 2 and 3 lie past the end.
    EXPECT_EQ(s.document.spriteStore[900].pixels[8 * 64], 12 | (testing::expectedPixel(900, 0, 8) & 3));

    s.currentSprite = 1000;
    const SaveResult one = saveSprite(s.document, s.currentSprite);
    EXPECT_TRUE(one.ok);
    EXPECT_EQ(one.unsavedSprites, std::vector<int>{1000});
    EXPECT_EQ(static_cast<long long>(rom.fileBytes().size()), cut);
}

// What the look beforehand finds is what the save then leaves unsaved: an
// edit inside the file is no loss, whatever else of its sprite lies beyond.
TEST(RomSaving, SpritesPastTheEndAreFoundBeforeTheSave)
{
    const long long cut = spriteCatalogue()[900].romOffset + 2 * 32 + 16;
    RomFixture rom(SyntheticRomOptions{.truncateAt = cut});
    EditorState& s = rom.state();
    s.document.spriteStore[900].pixels[0] ^= 1;      // tile 0, inside the file
    s.document.spriteStore[1000].pixels[0] ^= 1;     // wholly past the end
    markSpriteEdited(s.document, 900);
    markSpriteEdited(s.document, 1000);
    markSpriteEdited(s.document, 1001);              // marked, but unchanged
    const std::vector<int> found = editedSpritesPastTheEnd(s.document, cut);
    EXPECT_EQ(found, std::vector<int>{1000});
    EXPECT_EQ(saveAllSprites(s.document).unsavedSprites, found);
}

TEST(RomSaving, PaletteWritesTouchOnlyChangedColoursAndKeepBit15)
{
    FaultIo io;
    RomFixture rom({}, io);
    EditorState& s = rom.state();
    // Palette 3 at 0x30260; in the generated file colour 2's word has bit 15
    // set. Colour 0 changes too, but is never written.
    RawPalette colours = s.document.rawPalettes[3];
    colours.red[0] = colours.green[0] = colours.blue[0] = 17;
    colours.red[1] = 1;
    colours.green[1] = 2;
    colours.blue[1] = 3;
    colours.red[2] = 40;   // masked to 8
    colours.green[2] = -1; // masked to 31
    colours.blue[2] = 0;
    colours.red[9] = s.document.rawPalettes[3].red[9] | 32; // only outside the five bits: no change
    io.resetCounts();
    const SaveResult r = writePalette(s.document, 3, colours);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.coloursWritten, 2);
    EXPECT_EQ(io.calls(IoOp::Pwrite), 1); // colours 1 and 2 are neighbours
    EXPECT_EQ(io.calls(IoOp::Fsync), 1);

    auto expected = rom.original;
    expected[0x30262] = 0x41; // blue 3, green 2, red 1: 0x0C41
    expected[0x30263] = 0x0C;
    expected[0x30264] = 0xE8; // bit 15 kept, green 31, red 8: 0x83E8
    expected[0x30265] = 0x83;
    EXPECT_EQ(rom.fileBytes(), expected);

    ASSERT_TRUE(loadPalette(s.document, 3).ok);
    EXPECT_EQ(s.document.rawPalettes[3].red[2], 8);
    EXPECT_EQ(s.document.rawPalettes[3].green[2], 31);
    EXPECT_EQ(s.document.rawPalettes[3].blue[2], 0);
    io.resetCounts();
    EXPECT_EQ(writePalette(s.document, 3, s.document.rawPalettes[3]).coloursWritten, 0);
    EXPECT_EQ(io.calls(IoOp::Pwrite) + io.calls(IoOp::Fsync), 0);
}

TEST(RomSaving, APaletteBeyondTheEndIsNotWritten)
{
    RomFixture rom(SyntheticRomOptions{.truncateAt = 0x30200 + 32 * 4 + 10});
    EditorState& s = rom.state();
    RawPalette changed = s.document.rawPalettes[4];
    changed.red[15] ^= 1; // colour 15 lies past the end
    const SaveResult r = writePalette(s.document, 4, changed);
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.error.empty());
    EXPECT_EQ(rom.fileBytes(), rom.original);
}

} // namespace
} // namespace tessel

#include "interchange/art_exchange.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "interchange/png_image.h"
#include "interchange/sprite_png.h"
#include "model/edit_marks.h"
#include "support/interchange_data.h"
#include "support/rom_fixture.h"

namespace tessel {
namespace {

using testing::RomFixture;
using testing::ScratchFolder;

// The ROM, a symbolic link to it and a hard link to it are refused by every
// writer with one sentence, and the ROM keeps its bytes; other names are
// written.
TEST(ArtExchange, ExportsNeverTakeTheRomsPlace)
{
    RomFixture rom;
    ScratchFolder folder;
    const std::string symlinked = folder.file("link.png"), hardLinked = folder.file("hard.png");
    ASSERT_EQ(::symlink(rom.path().c_str(), symlinked.c_str()), 0);
    ASSERT_EQ(::link(rom.path().c_str(), hardLinked.c_str()), 0);
    const Outcome<std::vector<std::uint8_t>> bytes = Outcome<std::vector<std::uint8_t>>::success({1, 2, 3});
    const RawPalette colours = rom.state().rawPalettes[0];
    for (const std::string& out : {rom.path(), symlinked, hardLinked}) {
        for (const IoResult& r : {writeExport(out, rom.path(), bytes), exportPalette(out, rom.path(), colours),
                                  exportPatch(out, rom.path(), rom.path())}) {
            EXPECT_FALSE(r.ok) << out;
            EXPECT_EQ(r.error, "Cannot write over the open ROM: " + out);
        }
        EXPECT_EQ(rom.fileBytes(), rom.original) << out;
    }
    EXPECT_TRUE(writeExport(folder.file("new.png"), rom.path(), bytes).ok);
    EXPECT_TRUE(exportPalette(folder.file("new.gpl"), rom.path(), colours).ok);
}

// Only the sprite shown gets an undo snapshot; a refused picture changes
// and marks nothing.
TEST(ArtExchange, ImportedSpritesAreMarkedAndTheOneShownIsUndoable)
{
    RomFixture rom;
    EditorState& s = rom.state();
    ScratchFolder folder;
    const SpriteRecord& record = s.spriteStore[5];
    auto picture = decodePng(exportSpritePng(spriteViewOf(record), s.displayPalettes[record.paletteIndex]).value,
                             {64, 80}).value;
    picture.indices[0] = picture.indices[0] == 3 ? 4 : 3;
    testing::ScratchFile edited, small;
    edited.write(encodeIndexedPng(picture.width, picture.height, picture.indices, picture.palette).value);
    small.write(encodeIndexedPng(2, 2, std::vector<std::uint8_t>(4, 1), picture.palette).value);

    s.currentSprite = 9;
    const auto refused = importSpriteFile(s, 9, small.path());
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(editedSpriteCount(s), 0);
    EXPECT_EQ(s.undo.top, -1);

    const auto other = importSpriteFile(s, 5, edited.path());
    ASSERT_TRUE(other.ok) << other.error;
    EXPECT_EQ(other.value.changedSprites, std::vector<int>{5});
    EXPECT_EQ(other.value.message, "Sprite 5 imported");
    EXPECT_EQ(s.undo.top, -1);
    EXPECT_EQ(s.spriteStore[5].pixels[0], picture.indices[0]);

    s.currentSprite = 5;
    const auto again = importSpriteFile(s, 5, edited.path());
    EXPECT_TRUE(again.value.changedSprites.empty());
    EXPECT_EQ(again.value.message, "Sprite 5 unchanged");
    EXPECT_EQ(s.undo.top, 0);
    EXPECT_TRUE(isSpriteEdited(s, 5));
}

} // namespace
} // namespace tessel

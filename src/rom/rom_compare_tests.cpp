#include <gtest/gtest.h>
#include <unistd.h>

#include "model/edit_marks.h"
#include "rom/rom_compare.h"
#include "rom/sprite_catalogue.h"
#include "support/rom_fixture.h"

namespace tessel {
namespace {

using testing::ScratchFile;

// A dump without the copier header, of the synthetic ROM with these bytes
// changed (offsets as in the copier image): tiles of sprites 3, 700 and
// 1143; colour 1 of palette 6; only colour 0 of palette 7 and only bit 15
// of colour 2 of palette 8, neither of which a palette is read by.
std::vector<std::uint8_t> changedDump()
{
    auto rom = testing::buildSyntheticRom();
    for (int sprite : {3, 700, 1143}) rom[spriteCatalogue()[sprite].romOffset + 5] ^= 0xFF;
    rom[0x30200 + 32 * 6 + 2] ^= 0x01;
    rom[0x30200 + 32 * 7 + 0] ^= 0x1F;
    rom[0x30200 + 32 * 8 + 5] ^= 0x80;
    rom.erase(rom.begin(), rom.begin() + 512);
    return rom;
}

TEST(RomComparison, ListsTheSpritesAndPalettesOfAHeaderlessCopyThatDifferAndFollowsEdits)
{
    testing::RomFixture rom;
    RomDocument& edited = rom.state().document;
    ScratchFile dump;
    dump.write(changedDump());
    RomComparison comparison;
    ASSERT_TRUE(comparison.open(dump.path(), edited).ok);
    EXPECT_EQ(comparison.differingSprites(), (std::vector<int>{3, 700, 1143}));
    EXPECT_EQ(comparison.differingPalettes(), std::vector<int>{6});
    EXPECT_TRUE(comparison.spriteDiffers(700));
    EXPECT_FALSE(comparison.spriteDiffers(-1));
    EXPECT_FALSE(comparison.paletteDiffers(32));

    // An edit of a sprite that is not current is seen through its mark; the
    // current sprite is looked at always. Putting a pixel back undoes it.
    SpriteRecord& s10 = edited.spriteStore[10];
    s10.pixels[0] ^= 1;
    markSpriteEdited(edited, 10);
    SpriteRecord& s3 = edited.spriteStore[3];
    s3.pixels = comparison.other().spriteStore[3].pixels;
    EXPECT_TRUE(comparison.updateChanged(edited, 3));
    EXPECT_EQ(comparison.differingSprites(), (std::vector<int>{10, 700, 1143}));
    s10.pixels[0] ^= 1 | 0x30; // back, with high bits that are no colour
    markSpriteEdited(edited, 10);
    EXPECT_TRUE(comparison.updateChanged(edited, 0));
    EXPECT_FALSE(comparison.updateChanged(edited, 0));
    EXPECT_EQ(comparison.differingSpriteCount(), 2);

    comparison.close();
    EXPECT_FALSE(comparison.spriteDiffers(700));
    EXPECT_EQ(comparison.differingSpriteCount(), 0);
}

TEST(RomComparison, RefusesTheEditedRomItselfAndAFileThatIsNoOakenshoreRomLeavingTheOpenOne)
{
    testing::RomFixture rom;
    RomDocument& edited = rom.state().document;
    ScratchFile copy, other, link;
    copy.write(rom.original); // the same bytes in another file differ nowhere
    other.write(testing::buildSyntheticRom({.title = "OAKEN SHORF"}));
    ::unlink(link.path().c_str());
    ASSERT_EQ(::symlink(rom.path().c_str(), link.path().c_str()), 0);

    RomComparison comparison;
    ASSERT_TRUE(comparison.open(copy.path(), edited).ok);
    EXPECT_EQ(comparison.differingSpriteCount() + comparison.differingPaletteCount(), 0);
    for (const std::string& path : {rom.path(), link.path(), other.path(), std::string("/dev/null")}) {
        const IoResult r = comparison.open(path, edited);
        EXPECT_FALSE(r.ok) << path;
        EXPECT_FALSE(r.error.empty()) << path;
        EXPECT_EQ(comparison.path(), copy.path()) << path;
    }
    EXPECT_NE(comparison.open(rom.path(), edited).error.find("being edited"), std::string::npos);
    EXPECT_EQ(rom.fileBytes(), rom.original);
}

} // namespace
} // namespace tessel

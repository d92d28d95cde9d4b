#include <algorithm>
#include <gtest/gtest.h>
#include <memory>

#include "model/edit_marks.h"
#include "rom/rom_session.h"
#include "rom/sprite_catalogue.h"
#include "support/rom_fixture.h"
#include "support/sprite_checks.h"

namespace tessel {
namespace {

using testing::expectSpriteAsGenerated;
using testing::RomFixture;
using testing::SyntheticRomOptions;

TEST(RomLoading, EverySpriteAndPaletteLoadsAsGenerated)
{
    RomFixture rom;
    const EditorState& s = rom.state();
    for (int i = 0; i < kSpriteCount; ++i) expectSpriteAsGenerated(s, i);
    for (int p = 0; p < kPaletteCount; ++p) {
        // Colour 0 is never read: raw stays as it was (0), display is black.
        EXPECT_EQ(s.document.rawPalettes[p].red[0], 0);
        EXPECT_EQ(s.document.rawPalettes[p].green[0], 0);
        EXPECT_EQ(colourOf(s.document.displayPalettes[p], 0), (Rgb{0, 0, 0}));
        for (int k = 1; k < kColoursPerPalette; ++k) {
            const auto c = testing::expectedRawColour(p, k);
            EXPECT_EQ(s.document.rawPalettes[p].red[k], c.red);
            EXPECT_EQ(s.document.rawPalettes[p].green[k], c.green);
            EXPECT_EQ(s.document.rawPalettes[p].blue[k], c.blue);
            EXPECT_EQ(s.document.displayPalettes[p].red[k], 8 * c.red + 7);
            EXPECT_EQ(s.document.displayPalettes[p].green[k], 8 * c.green + 7);
            EXPECT_EQ(s.document.displayPalettes[p].blue[k], 8 * c.blue + 7);
        }
    }
    EXPECT_EQ(s.currentSprite, 0);
    EXPECT_EQ(s.currentDisplayPalette.red[1], 8 * testing::expectedRawColour(5, 1).red + 7);
}

TEST(RomLoading, TheGeneratedSpritesAreAllDifferent)
{
    RomFixture rom;
    const auto& store = rom.state().document.spriteStore;
    for (int i = 0; i < kSpriteCount; ++i)
        for (int j = i + 1; j < kSpriteCount; ++j) {
            if (store[i].widthTiles == store[j].widthTiles &&
                store[i].heightTiles == store[j].heightTiles) {
                ASSERT_NE(store[i].pixels, store[j].pixels) << i << " and " << j;
            }
        }
}

TEST(RomLoading, TilesPastTheEndOfAShortFileShowColourFifteen)
{
    // The file ends 7 bytes into the first tile of sprite 500.
    const int cut = spriteCatalogue()[500].romOffset + 7;
    RomFixture rom(SyntheticRomOptions{.truncateAt = cut});
    const EditorState& s = rom.state();
    for (int i = 0; i < 500; ++i) expectSpriteAsGenerated(s, i);
    for (int i = 501; i < kSpriteCount; ++i) {
        const SpriteRecord& r = s.document.spriteStore[i];
        for (int y = 0; y < r.heightPixels(); ++y)
            for (int x = 0; x < r.widthPixels(); ++x) ASSERT_EQ(r.pixels[y * 64 + x], 15);
        ASSERT_EQ(r.pixels[79 * 64 + 63], 0); // outside every sprite but 18
    }
    // In the cut tile bytes 0..6 (planes 0 and 1 of rows 0..2, plane 0 of
    // row 3) are the file's; every other bit reads as 1.
    const SpriteRecord& cutSprite = s.document.spriteStore[500];
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const int fromFile = testing::expectedPixel(500, x, y);
            int expected = 15;
            if (y < 3) expected = 12 | (fromFile & 3);
            if (y == 3) expected = 14 | (fromFile & 1);
            ASSERT_EQ(cutSprite.pixels[y * 64 + x], expected) << x << "," << y;
        }
}

TEST(RomLoading, PalettesPastTheEndReadAsWhite)
{
    RomFixture rom(SyntheticRomOptions{.truncateAt = 0x30200 + 32 * 3 + 4});
    const EditorState& s = rom.state();
    EXPECT_EQ(s.document.rawPalettes[3].red[1], testing::expectedRawColour(3, 1).red);
    for (int k = 2; k < 16; ++k) EXPECT_EQ(colourOf(s.document.displayPalettes[3], k), (Rgb{255, 255, 255}));
    EXPECT_EQ(colourOf(s.document.displayPalettes[31], 15), (Rgb{255, 255, 255}));
    EXPECT_EQ(s.document.rawPalettes[31].blue[15], 31);
}

TEST(RomLoading, ReadsAreAnnouncedToTheDocumentsObservers)
{
    RomFixture rom;
    RomDocument& document = rom.state().document;
    struct Heard : DocumentObserver {
        int loads = 0, sprite = -1, palette = -1, marks = 0;
        void spritesLoaded() override { ++loads; }
        void spriteReloaded(int s) override { sprite = s; }
        void paletteChanged(int p) override { palette = p; }
        void editMarksChanged() override { ++marks; }
    } heard;
    ASSERT_TRUE(document.addObserver(&heard));
    markSpriteEdited(document, 7);
    ASSERT_TRUE(loadSprite(document, 7).ok);
    ASSERT_TRUE(loadPalette(document, 9).ok);
    EXPECT_FALSE(loadSprite(document, kSpriteCount).ok);
    EXPECT_FALSE(loadPalette(document, -1).ok);
    ASSERT_TRUE(loadAllSprites(document).ok);
    EXPECT_EQ(heard.loads, 1);
    EXPECT_EQ(heard.sprite, 7);
    EXPECT_EQ(heard.palette, 9);
    EXPECT_EQ(heard.marks, 2); // marked, then cleared by the read
    document.removeObserver(&heard);
}

TEST(RomLoading, SingleSpritesAndPalettesLoadAlone)
{
    RomFixture rom;
    EditorState& s = rom.state();
    s.document.spriteStore[18].pixels.fill(1);
    s.document.spriteStore[19].pixels.fill(1);
    s.document.rawPalettes[7].green.fill(99);
    ASSERT_TRUE(loadSprite(s.document, 18).ok);
    ASSERT_TRUE(loadPalette(s.document, 7).ok);
    expectSpriteAsGenerated(s, 18);
    EXPECT_EQ(s.document.spriteStore[19].pixels[0], 1);
    EXPECT_EQ(s.document.rawPalettes[7].green[0], 99);
    EXPECT_EQ(s.document.rawPalettes[7].green[4], testing::expectedRawColour(7, 4).green);
    EXPECT_FALSE(loadSprite(s.document, kSpriteCount).ok);
    EXPECT_FALSE(loadPalette(s.document, -1).ok);
}

} // namespace
} // namespace tessel

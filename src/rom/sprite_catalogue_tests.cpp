#include "rom/sprite_catalogue.h"

#include <gtest/gtest.h>
#include <memory>
#include <set>

namespace tessel {
namespace {

const SpriteCatalogue& cat() { return spriteCatalogue(); }

TEST(SpriteCatalogue, OffsetsFollowTheLayoutRule)
{
    EXPECT_EQ(cat()[0].romOffset, 0x110200);
    // The two 576-byte gaps, worked out from the sizes: sprite 106 is 6 x 1
    // tiles ending at 0x11DAC0, sprite 1099 2 x 3 tiles ending at 0x152EC0.
    EXPECT_EQ(cat()[106].romOffset + 6 * 1 * 32, 0x11DAC0);
    EXPECT_EQ(cat()[107].romOffset, 0x11DD00);
    EXPECT_EQ(cat()[1099].romOffset + 2 * 3 * 32, 0x152EC0);
    EXPECT_EQ(cat()[1100].romOffset, 0x153100);
    EXPECT_EQ(cat()[1143].romOffset, 0x154740);
    EXPECT_EQ(cat()[1143].widthTiles, 2);
    EXPECT_EQ(cat()[1143].heightTiles, 2);
    EXPECT_EQ(cat()[1143].romOffset + 2 * 2 * 32, 0x1547C0);

    for (int i = 0; i + 1 < kSpriteCount; ++i) {
        const CatalogueEntry& e = cat()[i];
        const int end = e.romOffset + 32 * e.widthTiles * e.heightTiles;
        const int gap = (i == 106 || i == 1099) ? 576 : 0;
        ASSERT_EQ(cat()[i + 1].romOffset, end + gap) << "after sprite " << i;
        ASSERT_EQ(e.romOffset % 32, 0) << "sprite " << i;
    }
}

TEST(SpriteCatalogue, SizesAndPalettesStayWithinTheKnownSets)
{
    const std::set<int> widths{2, 3, 4, 6, 8}, heights{1, 2, 3, 4, 5, 6, 8, 10};
    int tiles = 0;
    for (int i = 0; i < kSpriteCount; ++i) {
        const CatalogueEntry& e = cat()[i];
        EXPECT_TRUE(widths.count(e.widthTiles)) << "sprite " << i;
        EXPECT_TRUE(heights.count(e.heightTiles)) << "sprite " << i;
        EXPECT_LE(e.widthTiles * e.heightTiles, 80) << "sprite " << i;
        EXPECT_GE(e.paletteIndex, 1) << "sprite " << i;
        EXPECT_LE(e.paletteIndex, 7) << "sprite " << i;
        tiles += e.widthTiles * e.heightTiles;
    }
    EXPECT_EQ(tiles, 8714);
    EXPECT_EQ(tiles, kTileCount);
    // 278,848 bytes of tiles and the two 576-byte gaps.
    EXPECT_EQ(kTileCount * 32 + 2 * 576, kSpriteAreaEnd - kSpriteAreaBegin);
}

TEST(SpriteCatalogue, RowsMatchTheRunList)
{
    struct Row {
        int sprite, w, h, palette;
    };
    // A sample of runs, including the single ones and both ends of long runs.
    const Row rows[] = {{0, 4, 6, 5},    {7, 4, 6, 5},     {8, 8, 6, 6},    {18, 8, 10, 3},
                        {19, 8, 8, 2},   {105, 6, 3, 6},   {106, 6, 1, 6},  {107, 6, 4, 2},
                        {354, 2, 2, 6},  {691, 4, 6, 3},   {802, 4, 3, 7},  {803, 4, 5, 2},
                        {865, 3, 5, 5},  {866, 2, 6, 6},   {1000, 4, 2, 1}, {1067, 3, 2, 1},
                        {1099, 2, 3, 6}, {1100, 2, 3, 5},  {1142, 2, 2, 6}, {1143, 2, 2, 6}};
    for (const Row& r : rows) {
        const CatalogueEntry& e = cat()[r.sprite];
        EXPECT_EQ(e.widthTiles, r.w) << "sprite " << r.sprite;
        EXPECT_EQ(e.heightTiles, r.h) << "sprite " << r.sprite;
        EXPECT_EQ(e.paletteIndex, r.palette) << "sprite " << r.sprite;
    }
}

TEST(SpriteCatalogue, InitialisingRecordsKeepsTheirPixels)
{
    auto store = std::make_unique<SpriteStore>();
    (*store)[18].pixels[kBufferSize - 1] = 9;
    (*store)[5].romOffset = 123;
    (*store)[5].widthTiles = 99;
    initRecordsFromCatalogue(*store);
    EXPECT_EQ((*store)[18].pixels[kBufferSize - 1], 9);
    EXPECT_EQ((*store)[18].widthPixels(), 64); // sprite 18 fills the whole buffer
    EXPECT_EQ((*store)[18].heightPixels(), 80);
    EXPECT_EQ((*store)[5].romOffset, 0x110200 + 5 * 4 * 6 * 32);
    EXPECT_EQ((*store)[5].widthTiles, 4);
    EXPECT_EQ((*store)[5].paletteIndex, 5);
}

} // namespace
} // namespace tessel

#include "editor/sprite_filter.h"

#include <gtest/gtest.h>

#include "editor/overview_grid.h"
#include "model/edit_marks.h"
#include "support/rom_fixture.h"

namespace tessel {
namespace {

using Kind = FilterProblem::Kind;

// Catalogue facts used below: 8-10 are 8 x 6 tiles in palette 6, 14-17
// 6 x 4 in palette 7, 18 the one 8 x 10 sprite, 19 8 x 8 and 20-23 4 x 4,
// both in palette 2.
TEST(SpriteFilter, TermsOfOneKindWidenAndKindsNarrowOverTheSyntheticRom)
{
    testing::RomFixture rom;
    RomDocument& doc = rom.state().document;
    markSpriteEdited(doc, 5);
    markSpriteEdited(doc, 700);
    const SpriteTagsSource tags = [](int s) {
        switch (s) {
        case 3: return SpriteTags{"Red Knight", false, true};
        case 4: return SpriteTags{"red mage", true, false};
        case 9: return SpriteTags{"Knight", true, false};
        default: return SpriteTags{};
        }
    };
    const struct {
        const char* text;
        std::vector<int> sprites;
    } cases[] = {
        {"18", {18}},
        {"18,30  100-102", {18, 30, 100, 101, 102}},
        {"120-118", {118, 119, 120}},
        {"8x10", {18}},
        {"0-20 6X4", {14, 15, 16, 17}},
        {"0-20, P6", {8, 9, 10}},
        {"0-30 p2 4x4 8\xc3\x97" "8", {19, 20, 21, 22, 23}},
        {"edited", {5, 700}},
        {"Edited 0-100", {5}},
        {"knight", {3, 9}},
        {"RED knight", {3}},
        {"starred", {4, 9}},
        {"starred 0-5", {4}},
        {"differs", {3}},
        {"nobody", {}},
    };
    for (const auto& c : cases) {
        const ParsedFilter parsed = parseSpriteFilter(c.text);
        EXPECT_EQ(parsed.problem.kind, Kind::None) << c.text;
        EXPECT_EQ(filterSprites(parsed.filter, doc, tags), c.sprites) << c.text;
    }
    EXPECT_EQ(filterSprites(parseSpriteFilter(" , ").filter, doc, tags).size(), 1144u);
    // Without tags, words, stars and differences match nothing.
    EXPECT_TRUE(filterSprites(parseSpriteFilter("starred").filter, doc, {}).empty());
}

TEST(SpriteFilter, TheFirstTermThatCannotBeReadIsNamed)
{
    const struct {
        const char* text;
        Kind kind;
        const char* term;
    } cases[] = {
        {"1144", Kind::NoSuchSprite, "1144"},     {"3 99999999999", Kind::NoSuchSprite, "99999999999"},
        {"1100-1200", Kind::NoSuchSprite, "1100-1200"}, {"5-", Kind::BadRange, "5-"},
        {"-5", Kind::BadRange, "-5"},             {"1-2-3", Kind::BadRange, "1-2-3"},
        {"9x1", Kind::NoSuchSize, "9x1"},         {"2x0 p40", Kind::NoSuchSize, "2x0"},
        {"P32", Kind::NoSuchPalette, "P32"},
    };
    for (const auto& c : cases) {
        const FilterProblem p = parseSpriteFilter(c.text).problem;
        EXPECT_EQ(p.kind, c.kind) << c.text;
        EXPECT_EQ(p.term, c.term) << c.text;
    }
}

// Two cells at 2x in a 300-pixel view: 136 wide, so two columns from
// x = (300 - 272) / 2 = 14; the second cell's box starts at (154, 4).
TEST(OverviewGrid, CellsArePaintedWherePlacedWithTheirFrameAndMarks)
{
    testing::RomFixture rom;
    RomDocument& doc = rom.state().document;
    markSpriteEdited(doc, 20);
    const OverviewLayout layout{300, 200, 2, 14, 1, 2};
    std::vector<std::uint32_t> image(300 * 200, 0);
    paintOverview(doc, layout, {19, 20}, 0, 20, 0, {}, {0, 0, 300, 200}, image.data(), 300);
    auto at = [&](int x, int y) { return image[y * 300 + x]; };
    // Sprite 20 is 32 x 32: from (154 + 2 * 16, 4 + 2 * 24); the frame is
    // the two pixels around the box, the edit dot's middle row 3 of 7 at
    // the label strip's right (box bottom 164 + 4 + 3 + 3).
    const Rgb c = colourOf(doc.displayPalettes[2], doc.spriteStore[20].pixels[0] & 15);
    EXPECT_EQ(at(186, 52), 0xff000000u | c.r << 16 | c.g << 8 | c.b);
    EXPECT_EQ(at(185, 52), 0xff000000u);
    EXPECT_EQ(at(152, 30), kOverviewCurrentFrame);
    EXPECT_EQ(at(151, 30), kOverviewBackground);
    EXPECT_EQ(at(150 + 136 - 4 - 4, 174), kOverviewEditColour);
    EXPECT_EQ(at(14 + 136 - 4 - 4, 174), kOverviewBackground); // sprite 19 is saved
    EXPECT_EQ(at(16, 0), kOverviewCursorFrame); // dashes on cell 0's edge
    EXPECT_EQ(at(14, 0), kOverviewBackground);
    EXPECT_EQ(at(5, 5), kOverviewBackground);
    // A part painted alone is what the whole paint has there, and nothing
    // outside it is touched.
    std::vector<std::uint32_t> part(300 * 200, 0x12345678u);
    const Rect clip{151, 20, 200, 180};
    paintOverview(doc, layout, {19, 20}, 0, 20, 0, {}, clip, part.data(), 300);
    int wrong = 0;
    for (int i = 0; i < 300 * 200; ++i)
        wrong += part[i] != (clip.contains({i % 300, i / 300}) ? image[i] : 0x12345678u);
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(layout.indexAt({154, 4}, 0), 1);
    EXPECT_EQ(layout.indexAt({13, 4}, 0), -1);
}

} // namespace
} // namespace tessel

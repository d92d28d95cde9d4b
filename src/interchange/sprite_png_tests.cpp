#include "interchange/sprite_png.h"

#include <png.h>

#include <gtest/gtest.h>

#include "interchange/png_image.h"
#include "interchange/sprite_sheet.h"
#include "support/interchange_data.h"

namespace tessel {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::SyntheticArt;

// An RGBA file from libpng's simplified writer, not the program's encoder.
Bytes independentPng(int width, int height, const Bytes& rgba)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    png_image_write_to_memory(&image, nullptr, &size, 0, rgba.data(), 0, nullptr);
    Bytes out(size);
    EXPECT_TRUE(png_image_write_to_memory(&image, out.data(), &size, 0, rgba.data(), 0, nullptr));
    out.resize(size);
    return out;
}

// Colour k of palette p as the screen shows it, worked out from the raw
// colour: 8v + 7 for every component; colour 0 transparent.
std::array<std::uint8_t, 4> shown(const SyntheticArt& art, int p, int k)
{
    if (k == 0) return {0, 0, 0, 0};
    const RawPalette& raw = art.raw[p];
    return {static_cast<std::uint8_t>(8 * raw.red[k] + 7), static_cast<std::uint8_t>(8 * raw.green[k] + 7),
            static_cast<std::uint8_t>(8 * raw.blue[k] + 7), 255};
}

Bytes spriteRgba(const SyntheticArt& art, int i)
{
    const SpriteView& v = art.views[i];
    Bytes rgba;
    for (int y = 0; y < v.height; ++y)
        for (int x = 0; x < v.width; ++x) {
            const auto c = shown(art, v.palette, v.pixels[y * 64 + x]);
            rgba.insert(rgba.end(), c.begin(), c.end());
        }
    return rgba;
}

int changedPixels(const PixelBuffer& a, const PixelBuffer& b)
{
    int n = 0;
    for (int i = 0; i < kBufferSize; ++i) n += (a[i] & 15) != (b[i] & 15);
    return n;
}

TEST(SpritePng, EveryExportComesBackUnchangedEvenWithRepeatedColours)
{
    const SyntheticArt art = testing::syntheticArt(true);
    for (int i = 0; i < kSpriteCount; ++i) {
        const SpriteView& v = art.views[i];
        const auto png = exportSpritePng(v, art.display[v.palette]);
        ASSERT_TRUE(png.ok) << png.error;
        const auto back = importSpritePng(png.value, v, art.raw[v.palette]);
        ASSERT_TRUE(back.ok) << i << ": " << back.error;
        ASSERT_EQ(changedPixels(back.value, art.pixels[i]), 0) << i;
    }
    const auto png = decodePng(exportSpritePng(art.views[7], art.display[art.views[7].palette]).value, {64, 80});
    ASSERT_TRUE(png.value.indexed);
    EXPECT_EQ(png.value.palette.size(), 16u);
    EXPECT_EQ(png.value.palette[0].a, 0);
    const auto c = shown(art, art.views[7].palette, 3);
    EXPECT_EQ(png.value.palette[3], (Rgba{c[0], c[1], c[2], 255}));
}

TEST(SpritePng, APixelChangedElsewhereChangesThatPixelOnly)
{
    const SyntheticArt art = testing::syntheticArt(true);
    const int i = 40;
    const SpriteView& v = art.views[i];
    Bytes rgba = spriteRgba(art, i);
    const int x = 3, y = 5, k = v.pixels[y * 64 + x] == 11 ? 13 : 11;
    const auto c = shown(art, v.palette, k);
    std::copy(c.begin(), c.end(), rgba.begin() + 4 * (y * v.width + x));
    const auto back = importSpritePng(independentPng(v.width, v.height, rgba), v, art.raw[v.palette]);
    ASSERT_TRUE(back.ok) << back.error;
    EXPECT_EQ(changedPixels(back.value, art.pixels[i]), 1);
    EXPECT_EQ(back.value[y * 64 + x], k);
}

// The exported picture of sprite i with its palette rearranged: entry k
// moves to order[k], every pixel value with it; `zero` is the colour left at
// the entry that holds colour 0.
Bytes reorderedExport(const SyntheticArt& art, int i, const std::array<int, 16>& order, Rgba zero,
                      int changeX = -1, int changeTo = 0)
{
    const SpriteView& v = art.views[i];
    const auto picture = decodePng(exportSpritePng(v, art.display[v.palette]).value, {64, 80}).value;
    std::vector<Rgba> palette(16);
    for (int k = 0; k < 16; ++k) palette[order[k]] = k == 0 ? zero : picture.palette[k];
    Bytes values = picture.indices;
    if (changeX >= 0) values[changeX] = static_cast<std::uint8_t>(changeTo);
    for (std::uint8_t& value : values) value = static_cast<std::uint8_t>(order[value]);
    return encodeIndexedPng(v.width, v.height, values, palette).value;
}

TEST(SpritePng, APalettePictureIsTakenByIndexOnlyWhenItsPaletteSaysSo)
{
    const SyntheticArt art = testing::syntheticArt(true);
    const int i = 18;
    const SpriteView& v = art.views[i];
    const std::array<int, 16> same{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
    const std::array<int, 16> reversed{15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0};
    const int changeTo = v.pixels[0] == 5 ? 6 : 5;
    struct Case {
        const char* what;
        Bytes png;
        int changed;
    } cases[] = {
        // Colour 9 repeats 4 and 12 repeats 2: only indices keep them apart.
        {"own order, colour 0 opaque white", reorderedExport(art, i, same, {255, 255, 255, 255}), 0},
        {"reversed", reorderedExport(art, i, reversed, {0, 0, 0, 0}), 0},
        {"reversed, one pixel changed", reorderedExport(art, i, reversed, {0, 0, 0, 0}, 0, changeTo), 1},
    };
    for (const Case& c : cases) {
        const auto back = importSpritePng(c.png, v, art.raw[v.palette]);
        ASSERT_TRUE(back.ok) << c.what << ": " << back.error;
        EXPECT_EQ(changedPixels(back.value, art.pixels[i]), c.changed) << c.what;
    }
    EXPECT_EQ(importSpritePng(cases[2].png, v, art.raw[v.palette]).value[0], changeTo);
}

TEST(SpritePng, RefusesPicturesThatDoNotFit)
{
    const SyntheticArt art = testing::syntheticArt();
    const SpriteView& v = art.views[0];
    const std::string size = std::to_string(v.width) + " × " + std::to_string(v.height);
    Bytes offColours = spriteRgba(art, 0);
    for (int n = 0; n < 12; ++n) offColours[4 * n] ^= 0x80, offColours[4 * n + 3] = 255;
    // A palette picture using entry 200, whose colour is in no sprite palette.
    Bytes plte(3 * 256, 0);
    plte[3 * 200] = 0xFF;
    const testing::HandPng index200{static_cast<std::uint32_t>(v.width), static_cast<std::uint32_t>(v.height), 8, 3, 0,
                                    {}, testing::pngChunk("PLTE", plte)};
    testing::HandPng withIndex200 = index200;
    for (int y = 0; y < v.height; ++y) {
        withIndex200.scanlines.push_back(0);
        for (int x = 0; x < v.width; ++x) withIndex200.scanlines.push_back(x == 2 && y == 1 ? 200 : 0);
    }
    testing::HandPng huge = withIndex200;
    huge.width = huge.height = 100000;
    struct Case {
        const char* what;
        Bytes png;
        std::string message;
    } cases[] = {
        {"smaller", independentPng(8, 8, Bytes(256, 0)), "The picture is 8 × 8 pixels, but the sprite is " + size},
        {"huge", testing::handPng(huge), "The picture is 100000 × 100000 pixels, but the sprite is " + size},
        {"off colours", independentPng(v.width, v.height, offColours), "12 pixels match no colour of the sprite's palette"},
        {"index 200", testing::handPng(withIndex200), "1 pixel matches no colour of the sprite's palette: (2, 1, #ff0000)"},
        {"truncated", Bytes{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0}, "cut short"},
    };
    for (const Case& c : cases) {
        const auto r = importSpritePng(c.png, v, art.raw[v.palette]);
        EXPECT_FALSE(r.ok) << c.what;
        EXPECT_NE(r.error.find(c.message), std::string::npos) << c.what << ": " << r.error;
    }
    const auto listed = importSpritePng(independentPng(v.width, v.height, offColours), v, art.raw[v.palette]);
    EXPECT_EQ(std::count(listed.error.begin(), listed.error.end(), '#'), 10);

    // Entry 200 in the colour of entry 4 is taken as 4.
    Bytes matching = plte;
    const auto c4 = shown(art, v.palette, 4);
    std::copy(c4.begin(), c4.begin() + 3, matching.begin() + 3 * 200);
    testing::HandPng fine = withIndex200;
    fine.beforeIdat = testing::pngChunk("PLTE", matching);
    const auto r = importSpritePng(testing::handPng(fine), v, art.raw[v.palette]);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.value[1 * 64 + 2], 4);
    EXPECT_EQ(r.value[0], 0);
}

// --- The sheet ----------------------------------------------------------------

TEST(SpriteSheet, SpritesSitAtTheirCellsTopLeftInTheirOwnColours)
{
    const SyntheticArt art = testing::syntheticArt();
    const auto rgba = renderSheet(art.views, art.display);
    ASSERT_TRUE(rgba.ok);
    ASSERT_EQ(sheetSize(kSpriteCount).width, 2048);
    ASSERT_EQ(sheetSize(kSpriteCount).height, 2880);
    ASSERT_EQ(rgba.value.size(), 4u * 2048 * 2880);
    const auto at = [&](int x, int y) {
        const std::uint8_t* p = rgba.value.data() + 4 * (y * 2048 + x);
        return std::array<std::uint8_t, 4>{p[0], p[1], p[2], p[3]};
    };
    for (int i : {0, 33, 1143}) {
        const SpriteView& v = art.views[i];
        const int x0 = 64 * (i % 32), y0 = 80 * (i / 32);
        for (const auto& [x, y] : {std::pair{0, 0}, {v.width - 1, v.height - 1}, {2, 2}, {v.width / 2, 3}})
            EXPECT_EQ(at(x0 + x, y0 + y), shown(art, v.palette, v.pixels[y * 64 + x])) << i;
        if (v.width < 64) {
            EXPECT_EQ(at(x0 + v.width, y0)[3], 0) << i;
        }
        if (v.height < 80) {
            EXPECT_EQ(at(x0, y0 + v.height)[3], 0) << i;
        }
    }
    EXPECT_EQ(at(2047, 2879)[3], 0); // past the last sprite
}

TEST(SpriteSheet, ExportThenImportChangesNothingEvenWithRepeatedColours)
{
    const SyntheticArt art = testing::syntheticArt(true);
    const auto png = exportSheetPng(art.views, art.display);
    ASSERT_TRUE(png.ok) << png.error;
    const auto back = importSheetPng(png.value, art.views, art.raw);
    ASSERT_TRUE(back.ok) << back.error;
    EXPECT_TRUE(back.value.changedSprites.empty());
    EXPECT_EQ(back.value.message, "No sprite changed");
}

TEST(SpriteSheet, APixelChangedElsewhereChangesThatSpriteOnly)
{
    const SyntheticArt art = testing::syntheticArt(true);
    Bytes rgba = renderSheet(art.views, art.display).value;
    const int i = 77, x = 4, y = 6;
    const SpriteView& v = art.views[i];
    const int k = v.pixels[y * 64 + x] == 9 ? 10 : 9;
    const auto c = shown(art, v.palette, k);
    std::copy(c.begin(), c.end(), rgba.begin() + 4 * ((80 * (i / 32) + y) * 2048 + 64 * (i % 32) + x));
    const auto back = importSheetPng(independentPng(2048, 2880, rgba), art.views, art.raw);
    ASSERT_TRUE(back.ok) << back.error;
    ASSERT_EQ(back.value.changedSprites, std::vector<int>{i});
    EXPECT_EQ(changedPixels(back.value.changedPixels[0], art.pixels[i]), 1);
    EXPECT_EQ(back.value.changedPixels[0][y * 64 + x], k == 9 ? 4 : 10); // 9 repeats 4: the lowest
    EXPECT_EQ(back.value.message, "1 sprite changed: 77");
}

TEST(SpriteSheet, RefusesASheetThatDoesNotFitAndNamesTheSprites)
{
    const SyntheticArt art = testing::syntheticArt();
    Bytes rgba = renderSheet(art.views, art.display).value;
    // #ff00ff is in no palette of the synthetic ROM.
    for (int i : {5, 6, 7, 900}) {
        const std::uint8_t magenta[4] = {255, 0, 255, 255};
        std::copy(magenta, magenta + 4, rgba.begin() + 4 * ((80 * (i / 32) + 1) * 2048 + 64 * (i % 32) + 1));
    }
    const auto off = importSheetPng(independentPng(2048, 2880, rgba), art.views, art.raw);
    EXPECT_FALSE(off.ok);
    EXPECT_NE(off.error.find("(321, 1, #ff00ff), (385, 1, #ff00ff)"), std::string::npos) << off.error;
    EXPECT_NE(off.error.find("4 pixels of sprites 5-7, 900 match no colour"), std::string::npos) << off.error;

    // Colour 0 flattened onto white by a painting program.
    Bytes flat = renderSheet(art.views, art.display).value;
    for (std::size_t p = 3; p < flat.size(); p += 4)
        if (flat[p] == 0) flat[p - 3] = flat[p - 2] = flat[p - 1] = flat[p] = 255;
    const auto white = importSheetPng(independentPng(2048, 2880, flat), art.views, art.raw);
    EXPECT_NE(white.error.find("colour 0 looks flattened onto white"), std::string::npos) << white.error;
    EXPECT_EQ(off.error.find("flattened"), std::string::npos);

    const auto small = importSheetPng(independentPng(64, 80, Bytes(4 * 64 * 80, 0)), art.views, art.raw);
    EXPECT_EQ(small.error, "The picture is 64 × 80 pixels, but 1144 sprites make a sheet of 2048 × 2880");
}

TEST(SpriteSheet, APaletteSheetIsTakenByIndexWhereItsPaletteSaysSoAndListsTheChanges)
{
    const SyntheticArt art = testing::syntheticArt(true);
    std::vector<SpriteView> views; // the sprites of palette 3, as a sheet of their own
    for (const SpriteView& v : art.views)
        if (v.palette == 3) views.push_back(v);
    ASSERT_GT(views.size(), 12u);
    const SheetSize size = sheetSize(static_cast<int>(views.size()));
    const auto sheetWith = [&](Rgba zero, std::uint8_t swap, int changes) {
        std::vector<Rgba> palette(16);
        for (int k = 0; k < 16; ++k) {
            const auto c = shown(art, 3, k);
            palette[k ^ swap] = k == 0 ? zero : Rgba{c[0], c[1], c[2], 255};
        }
        Bytes values(static_cast<std::size_t>(size.width) * size.height, swap);
        for (std::size_t n = 0; n < views.size(); ++n)
            for (int y = 0; y < views[n].height; ++y)
                for (int x = 0; x < views[n].width; ++x) {
                    int k = views[n].pixels[y * 64 + x];
                    if (x == 0 && y == 0 && static_cast<int>(n) < changes) k = k == 7 ? 8 : 7;
                    values[(80 * (n / 32) + y) * size.width + 64 * (n % 32) + x] = static_cast<std::uint8_t>(k ^ swap);
                }
        return encodeIndexedPng(size.width, size.height, values, palette).value;
    };
    const auto byIndex = importSheetPng(sheetWith({255, 255, 255, 255}, 0, 0), views, art.raw);
    ASSERT_TRUE(byIndex.ok) << byIndex.error;
    EXPECT_EQ(byIndex.value.message, "No sprite changed");
    const auto byColour = importSheetPng(sheetWith({0, 0, 0, 0}, 5, 12), views, art.raw);
    ASSERT_TRUE(byColour.ok) << byColour.error;
    EXPECT_EQ(byColour.value.message, "12 sprites changed: 0, 1, 2, 3, 4, 5, 6, 7, 8, 9 and 2 more");
}

} // namespace
} // namespace tessel

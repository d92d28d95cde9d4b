#include "support/demo_rom.h"

#include <array>
#include <string_view>

#include "rom/sprite_catalogue.h"
#include "rom/tile_codec.h"
#include "support/synthetic_rom.h"

namespace tessel::testing {

namespace {

using Art = std::initializer_list<std::string_view>;

// '.' transparent, o outline, s/S skin, c/C clothing, g/G/d greens,
// b/B browns, m/M/k metal, y gold, w highlight.
constexpr std::string_view kRoles = ".osScCgGdbBmMkyw";

const Art kKnight = {
    "......oooo......", ".....ommmMo.....", "....ommmmmMo....", "....omkkkkko....", "....oksSsSko....",
    "....oksssSko....", ".....oSSSSo.....", "....occcccCo....", "...occmmmMcCo...", "..osoccmMcCoso..",
    "..osocccccCoso..", "..oSoyyyyyyoSo..", "...o.occcCo.o...", ".....occcCo.....", ".....oCCoCCo....",
    "....omMo.oMmo...", "....oMko.okMo...", "....okko.okko...", "...oBBBo.oBBBo..", "...oooo...oooo..",
};
const Art kTree = {
    "......oooo......", "....oogggGoo....", "...ogggwgGGGo...", "..oggwggggGGdo..", "..ogggggGGGddo..",
    ".oggggGGGgGGddo.", ".ogGggGGGGGdddo.", ".oGGGGGddGdddo..", "..oGddGddddddo..", "...ooddddoooo...",
    ".....oBbBo......", ".....oBbBo......", ".....oBbBo......", "....ooBbBoo.....", "...odddddddo....",
};
const Art kSlime = {
    ".......oo.......", "......oggo......", ".....ogwggo.....", "....ogwgggGo....", "...ogggggggGo...",
    "..ogwoggggoGGo..", "..oggoggggoGGo..", ".ogggggggggGGGo.", ".oGggggggggGGdo.", ".oGGGggggGGGddo.",
    "..oddddddddddo..", "...oooooooooo...",
};
const Art kPotion = {
    "......oooo......", "......obbo......", "......oBBo......", ".....oommoo.....", ".....owmmmo.....",
    "....oMwcccMo....", "...oMwcccccMo...", "...owccccccCo...", "...owcccccCCo...", "...occcccCCCo...",
    "....oCCCCCCo....", ".....oooooo.....",
};
const Art kCoin = {
    ".....oooooo.....", "....oyyyyyyo....", "...oywwyyyyBo...", "..oywyyBByyyBo..", "..oyyyyByyyyBo..",
    "..oyyyyByyyyBo..", "..oyyyyByyyyBo..", "..oyyyBBByyyBo..", "...oyyyyyyyBo...", "....oBBBBBBo....",
    ".....oooooo.....",
};
const Art kChest = {
    "..oooooooooooo..", ".obbbbbbbbbbbbo.", ".obBBBBBBBBBBbo.", ".obBbbbbbbbbBbo.", ".ooooooyyoooooo.",
    ".obbbbboybbbbbo.", ".obBBBBoyoBBBbo.", ".obbbbbooobbbbo.", ".obBBBBBBBBBBbo.", ".obbbbbbbbbbbbo.",
    ".oooooooooooooo.",
};

std::uint32_t hash(int a, int b, int c)
{
    // Unsigned, so the products wrap instead of overflowing.
    std::uint32_t h = static_cast<std::uint32_t>(a) * 73856093u ^ static_cast<std::uint32_t>(b) * 19349663u ^
                      static_cast<std::uint32_t>(c) * 83492791u;
    h ^= h >> 13;
    return h * 0x5bd1e995u;
}

// Opaque ground: grass with blades and flowers, or bricks with mortar.
int grass(int sprite, int x, int y)
{
    const std::uint32_t h = hash(sprite, x, y) % 97;
    if (h < 3) return 14;
    if (h < 14) return 6;
    if (h < 24) return 8;
    return 7;
}
int bricks(int x, int y)
{
    const int row = y / 5, shift = row % 2 ? 4 : 0;
    if (y % 5 == 4 || (x + shift) % 8 == 7) return 13;
    if (y % 5 == 0 || (x + shift) % 8 == 0) return 11;
    return 12;
}

void draw(PixelBuffer& px, int w, int h, const Art& art, bool mirror)
{
    const int tw = 16, th = static_cast<int>(art.size());
    const int scale = std::max(1, std::min(w / tw, h / th));
    const int left = (w - tw * scale) / 2, top = (h - th * scale) / 2;
    int row = 0;
    for (std::string_view line : art) {
        for (int c = 0; c < tw && c < static_cast<int>(line.size()); ++c) {
            const int role = static_cast<int>(kRoles.find(line[mirror ? tw - 1 - c : c]));
            if (role <= 0) continue;
            for (int dy = 0; dy < scale; ++dy)
                for (int dx = 0; dx < scale; ++dx) {
                    const int x = left + c * scale + dx, y = top + row * scale + dy;
                    if (x >= 0 && y >= 0 && x < w && y < h) px[y * kBufferWidth + x] = static_cast<std::uint8_t>(role);
                }
        }
        ++row;
    }
}

void drawSprite(SpriteRecord& r, int i)
{
    const int w = r.widthPixels(), h = r.heightPixels();
    const Art* tall[] = {&kKnight, &kTree};
    const Art* square[] = {&kSlime, &kPotion, &kCoin, &kChest, nullptr, nullptr};
    const Art* art = h > w ? tall[(i / 3) % 2] : square[i % 6];
    const bool ground = art == nullptr || i % 3 == 0;
    const bool brick = art == nullptr ? i % 6 == 5 : (i / 3) % 4 == 3;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            r.pixels[y * kBufferWidth + x] = static_cast<std::uint8_t>(!ground ? 0 : brick ? bricks(x, y) : grass(i, x, y));
    if (art) draw(r.pixels, w, h, *art, (i / 2) % 2 == 1);
}

struct Raw {
    int r, g, b;
};
constexpr Raw kBase[16] = {{0, 0, 0},    {3, 2, 5},    {31, 24, 19}, {24, 16, 12}, {0, 0, 0},    {0, 0, 0},
                           {18, 28, 8},  {9, 21, 6},   {4, 12, 5},   {24, 16, 8},  {14, 8, 4},   {28, 29, 31},
                           {18, 19, 23}, {10, 10, 14}, {31, 26, 6},  {30, 31, 31}};
constexpr Raw kCloth[8][2] = {{{14, 24, 10}, {8, 15, 6}},   {{8, 12, 28}, {4, 6, 18}},  {{20, 8, 24}, {12, 4, 15}},
                              {{6, 22, 22}, {3, 13, 14}}, {{30, 16, 4}, {20, 9, 2}},  {{26, 6, 6}, {16, 3, 3}},
                              {{28, 10, 16}, {18, 5, 9}}, {{10, 10, 20}, {5, 5, 12}}};

} // namespace

std::vector<std::uint8_t> buildDemoRom()
{
    std::vector<std::uint8_t> rom = buildSyntheticRom();
    for (int p = 0; p < kPaletteCount; ++p)
        for (int k = 0; k < 16; ++k) {
            Raw c = k == 4 || k == 5 ? kCloth[p % 8][k - 4] : kBase[k];
            if (k >= 6 && k <= 8) c.b = std::min(31, c.b + p / 8 * 3); // cooler greens in the later palettes
            const int word = c.b << 10 | c.g << 5 | c.r;
            rom[0x30200 + 32 * p + 2 * k] = static_cast<std::uint8_t>(word & 0xFF);
            rom[0x30200 + 32 * p + 2 * k + 1] = static_cast<std::uint8_t>(word >> 8);
        }
    for (int i = 0; i < kSpriteCount; ++i) {
        const CatalogueEntry& e = spriteCatalogue()[i];
        SpriteRecord r;
        r.widthTiles = e.widthTiles;
        r.heightTiles = e.heightTiles;
        drawSprite(r, i);
        encodeSprite(r, rom.data() + e.romOffset);
    }
    return rom;
}

} // namespace tessel::testing

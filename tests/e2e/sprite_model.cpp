#include "e2e/sprite_model.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "support/synthetic_rom.h"

namespace tessel::e2e {

namespace {

// From the sprite catalogue: sprites 0-7 are 4 x 6 tiles in palette 5, the
// first at 0x110200 and each 768 bytes long; 8-13 are 8 x 6 tiles (1536
// bytes); 14-17 are 6 x 4 tiles in palette 7 (768 bytes), so 17 begins at
// 0x110200 + 8 * 768 + 6 * 1536 + 3 * 768 = 0x114700 and 18, 8 x 10 tiles in
// palette 3, at 0x114A00; 19 is 8 x 8 tiles and 20-23 4 x 4, in palette 2.
constexpr SpriteFacts kFacts[] = {
    {0, 4, 6, 5, 0x110200}, {16, 6, 4, 7, -1}, {17, 6, 4, 7, 0x114700}, {18, 8, 10, 3, 0x114A00},
    {19, 8, 8, 2, -1},      {20, 4, 4, 2, -1}, {21, 4, 4, 2, -1},       {22, 4, 4, 2, -1},
    {23, 4, 4, 2, -1},
};

constexpr long kPalettesAt = 0x30200;

} // namespace

const SpriteFacts& spriteFacts(int number)
{
    for (const SpriteFacts& f : kFacts)
        if (f.number == number) return f;
    throw std::invalid_argument("no catalogue facts for sprite " + std::to_string(number));
}

SpriteModel SpriteModel::fromRom(int number)
{
    const SpriteFacts& f = spriteFacts(number);
    SpriteModel s;
    s.number = number;
    s.width = 8 * f.widthTiles;
    s.height = 8 * f.heightTiles;
    s.palette = f.palette;
    for (int y = 0; y < s.height; ++y)
        for (int x = 0; x < s.width; ++x) s.pixels[y * 64 + x] = testing::expectedPixel(number, x, y);
    return s;
}

void SpriteModel::set(int x, int y, int index)
{
    if (inside(x, y)) pixels[y * 64 + x] = index;
}

void drawLine(SpriteModel& s, int x0, int y0, int x1, int y1, int index)
{
    const int dx = x1 - x0, dy = y1 - y0;
    if (dx != 0 && dy != 0 && std::abs(dx) != std::abs(dy))
        throw std::invalid_argument("drawLine: only straight and 45-degree lines");
    const int steps = std::max(std::abs(dx), std::abs(dy));
    const int sx = (dx > 0) - (dx < 0), sy = (dy > 0) - (dy < 0);
    for (int i = 0; i < steps; ++i) s.set(x0 + i * sx, y0 + i * sy, index);
}

void fillBox(SpriteModel& s, int x0, int y0, int x1, int y1, int index)
{
    for (int y = std::min(y0, y1); y < std::max(y0, y1); ++y)
        for (int x = std::min(x0, x1); x < std::max(x0, x1); ++x) s.set(x, y, index);
}

void floodFill(SpriteModel& s, int x, int y, int index)
{
    const int old = s.at(x, y);
    if (old == index) return;
    std::vector<std::pair<int, int>> todo = {{x, y}};
    while (!todo.empty()) {
        const auto [px, py] = todo.back();
        todo.pop_back();
        if (!s.inside(px, py) || s.at(px, py) != old) continue;
        s.set(px, py, index);
        todo.insert(todo.end(), {{px + 1, py}, {px - 1, py}, {px, py + 1}, {px, py - 1}});
    }
}

void moveBlock(SpriteModel& s, int left, int top, int right, int bottom, int dx, int dy, int hole)
{
    const SpriteModel before = s;
    fillBox(s, left, top, right, bottom, hole);
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) s.set(x + dx, y + dy, before.at(x, y));
}

Rgb displayOfRaw(int red, int green, int blue) { return {8 * red + 7, 8 * green + 7, 8 * blue + 7}; }

DisplayColours DisplayColours::ofPalette(int palette)
{
    DisplayColours d;
    for (int k = 1; k < 16; ++k) {
        const testing::ExpectedColour raw = testing::expectedRawColour(palette, k);
        d.colour[k] = displayOfRaw(raw.red, raw.green, raw.blue);
    }
    return d; // colour 0 stays black
}

void encodeSprite(const SpriteModel& s, std::vector<std::uint8_t>& rom)
{
    const long offset = spriteFacts(s.number).fileOffset;
    if (offset < 0) throw std::invalid_argument("encodeSprite: no file offset known");
    const int tilesAcross = s.width / 8;
    for (int y = 0; y < s.height; ++y)
        for (int x = 0; x < s.width; ++x) {
            const long tile = offset + 32L * ((y / 8) * tilesAcross + x / 8);
            const int r = y % 8, bit = 0x80 >> (x % 8);
            const long planeByte[4] = {tile + 2 * r, tile + 2 * r + 1, tile + 16 + 2 * r,
                                       tile + 17 + 2 * r};
            for (int plane = 0; plane < 4; ++plane) {
                std::uint8_t& b = rom.at(planeByte[plane]);
                b = static_cast<std::uint8_t>((s.at(x, y) >> plane & 1) ? b | bit : b & ~bit);
            }
        }
}

void encodeColour(std::vector<std::uint8_t>& rom, int palette, int k, int red, int green, int blue)
{
    const int word = blue << 10 | green << 5 | red;
    rom.at(kPalettesAt + 32 * palette + 2 * k) = static_cast<std::uint8_t>(word & 0xFF);
    rom.at(kPalettesAt + 32 * palette + 2 * k + 1) = static_cast<std::uint8_t>(word >> 8);
}

} // namespace tessel::e2e

// What a sprite must look like and what its bytes must be, worked out in the
// test itself: the synthetic ROM's pixels, the user's edits applied the slow
// obvious way (one pixel at a time), and the ROM's tile and colour formats
// written bit by bit. The end-to-end tests compare the real program's screen
// and file with these.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "e2e/xwd_image.h"

namespace tessel::e2e {

// Catalogue facts of the sprites the tests show.
struct SpriteFacts {
    int number, widthTiles, heightTiles, palette;
    long fileOffset; // -1 where no test writes the sprite
};
const SpriteFacts& spriteFacts(int number);

struct SpriteModel {
    int number = 0, width = 0, height = 0, palette = 0;
    std::array<int, 64 * 80> pixels{}; // colour indices, row stride 64

    // The sprite as the synthetic ROM holds it.
    static SpriteModel fromRom(int number);
    int at(int x, int y) const { return pixels[y * 64 + x]; }
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    void set(int x, int y, int index);
};

// A line from (x0, y0) to (x1, y1), its end excluded; only horizontal,
// vertical and 45-degree lines, whose pixels leave no room for doubt.
void drawLine(SpriteModel& s, int x0, int y0, int x1, int y1, int index);
// The box with corners (x0, y0) and (x1, y1), right column and bottom row
// excluded, outline and inside in one index.
void fillBox(SpriteModel& s, int x0, int y0, int x1, int y1, int index);
// The 4-connected area of pixels with the index of (x, y).
void floodFill(SpriteModel& s, int x, int y, int index);
// Lifts the block [left, right) x [top, bottom), fills the hole with
// `hole`, and puts the block down (dx, dy) further, clipped to the sprite.
void moveBlock(SpriteModel& s, int left, int top, int right, int bottom, int dx, int dy, int hole);

// Display colours of a palette as the ROM's raw colours make them: index 0
// black, component v shown as 8 v + 7.
struct DisplayColours {
    std::array<Rgb, 16> colour{};
    static DisplayColours ofPalette(int palette);
};
Rgb displayOfRaw(int red, int green, int blue);

// Writes the sprite's tiles at its file offset: 4 bits per pixel in planes,
// row r of a tile in bytes 2r, 2r + 1 (planes 0, 1) and 16 + 2r, 17 + 2r
// (planes 2, 3), bit 7 for column 0.
void encodeSprite(const SpriteModel& s, std::vector<std::uint8_t>& rom);
// Writes colour k of palette p as its little-endian BGR555 word.
void encodeColour(std::vector<std::uint8_t>& rom, int palette, int k, int red, int green, int blue);

} // namespace tessel::e2e

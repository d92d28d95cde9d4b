// The decoded sprites and palettes that every part of the editor works on.
#pragma once

#include <array>
#include <cstdint>

namespace tessel {

inline constexpr int kSpriteCount = 1144;
inline constexpr int kPaletteCount = 32;
inline constexpr int kColoursPerPalette = 16;

// Every pixel store (a sprite, an undo level, a floating block, the
// clipboard) is 80 rows of 64 bytes. Pixel (x, y) is byte y * 64 + x and its
// colour index is the byte's low four bits; smaller sprites use the top-left.
inline constexpr int kBufferWidth = 64;
inline constexpr int kBufferHeight = 80;
inline constexpr int kBufferSize = kBufferWidth * kBufferHeight;
using PixelBuffer = std::array<std::uint8_t, kBufferSize>;

// The part of the ROM file (in copier-image offsets) that holds the tiles
// of every sprite, 32 bytes to a tile.
inline constexpr int kTileBytes = 32;
inline constexpr std::int32_t kSpriteAreaBegin = 0x110200; // first tile of sprite 0
inline constexpr std::int32_t kSpriteAreaEnd = 0x1547C0;   // one past sprite 1143
inline constexpr std::int32_t kSpriteAreaBytes = kSpriteAreaEnd - kSpriteAreaBegin;
using SpriteAreaBytes = std::array<std::uint8_t, kSpriteAreaBytes>;

struct SpriteRecord {
    std::int32_t romOffset = 0;    // file offset of the first tile
    std::int32_t widthTiles = 0;   // 8-pixel tiles
    std::int32_t heightTiles = 0;
    std::int32_t paletteIndex = 0; // 0..31
    PixelBuffer pixels{};

    int widthPixels() const { return widthTiles * 8; }
    int heightPixels() const { return heightTiles * 8; }
};

// Colour components in three parallel arrays, as the ROM's palettes are
// edited component by component. Raw components are 0..31, display 0..255.
struct PaletteComponents {
    std::array<std::int32_t, kColoursPerPalette> red{};
    std::array<std::int32_t, kColoursPerPalette> green{};
    std::array<std::int32_t, kColoursPerPalette> blue{};
};
using RawPalette = PaletteComponents;
using DisplayPalette = PaletteComponents;

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline Rgb colourOf(const DisplayPalette& p, int index)
{
    return Rgb{static_cast<std::uint8_t>(p.red[index] & 0xFF),
               static_cast<std::uint8_t>(p.green[index] & 0xFF),
               static_cast<std::uint8_t>(p.blue[index] & 0xFF)};
}

} // namespace tessel

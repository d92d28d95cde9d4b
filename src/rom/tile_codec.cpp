#include "rom/tile_codec.h"

#include <array>
#include <bit>
#include <cstring>

namespace tessel {

// Rows are moved as one 64-bit word whose lowest byte is column 0.
static_assert(std::endian::native == std::endian::little, "rows are packed little-endian");

namespace {

// For every plane byte, the eight columns' bits spread one per byte:
// byte c of the entry is bit 7 - c of the plane byte.
constexpr std::array<std::uint64_t, 256> buildSpreadTable()
{
    std::array<std::uint64_t, 256> table{};
    for (int v = 0; v < 256; ++v) {
        std::uint64_t spread = 0;
        for (int c = 0; c < 8; ++c)
            if (v & (0x80 >> c)) spread |= std::uint64_t{1} << (8 * c);
        table[v] = spread;
    }
    return table;
}

constexpr std::array<std::uint64_t, 256> kSpread = buildSpreadTable();

// The inverse of kSpread for bit `plane` of every byte: the multiplication
// moves bit 8c to bit 63 - c without carries (the partial products land on
// distinct bits), so the top byte holds column 0 in bit 7.
inline std::uint8_t gatherPlane(std::uint64_t row, int plane)
{
    const std::uint64_t bits = (row >> plane) & 0x0101010101010101ULL;
    return static_cast<std::uint8_t>((bits * 0x8040201008040201ULL) >> 56);
}

} // namespace

void decodeTile(const std::uint8_t* tile, PixelBuffer& pixels, int x0, int y0)
{
    std::uint8_t* out = pixels.data() + y0 * kBufferWidth + x0;
    for (int r = 0; r < 8; ++r) {
        const std::uint64_t row = kSpread[tile[2 * r]] | (kSpread[tile[2 * r + 1]] << 1) |
                                  (kSpread[tile[16 + 2 * r]] << 2) |
                                  (kSpread[tile[17 + 2 * r]] << 3);
        std::memcpy(out + r * kBufferWidth, &row, 8);
    }
}

void encodeTile(const PixelBuffer& pixels, int x0, int y0, std::uint8_t* tile)
{
    const std::uint8_t* in = pixels.data() + y0 * kBufferWidth + x0;
    for (int r = 0; r < 8; ++r) {
        std::uint64_t row;
        std::memcpy(&row, in + r * kBufferWidth, 8);
        tile[2 * r] = gatherPlane(row, 0);
        tile[2 * r + 1] = gatherPlane(row, 1);
        tile[16 + 2 * r] = gatherPlane(row, 2);
        tile[17 + 2 * r] = gatherPlane(row, 3);
    }
}

void decodeSprite(const std::uint8_t* bytes, SpriteRecord& record)
{
    const int w = record.widthTiles, h = record.heightTiles;
    if (w <= 0 || h <= 0 || w * 8 > kBufferWidth || h * 8 > kBufferHeight) {
        record.pixels.fill(0);
        return;
    }
    // Only what lies outside the sprite needs clearing; decoding overwrites
    // the rest.
    const int wPixels = w * 8, hPixels = h * 8;
    if (wPixels < kBufferWidth)
        for (int y = 0; y < hPixels; ++y)
            std::memset(record.pixels.data() + y * kBufferWidth + wPixels, 0,
                        kBufferWidth - wPixels);
    std::memset(record.pixels.data() + hPixels * kBufferWidth, 0,
                (kBufferHeight - hPixels) * kBufferWidth);
    for (int ty = 0; ty < h; ++ty)
        for (int tx = 0; tx < w; ++tx, bytes += 32) decodeTile(bytes, record.pixels, 8 * tx, 8 * ty);
}

void encodeSprite(const SpriteRecord& record, std::uint8_t* bytes)
{
    const int w = record.widthTiles, h = record.heightTiles;
    if (w <= 0 || h <= 0 || w * 8 > kBufferWidth || h * 8 > kBufferHeight) return;
    for (int ty = 0; ty < h; ++ty)
        for (int tx = 0; tx < w; ++tx, bytes += 32) encodeTile(record.pixels, 8 * tx, 8 * ty, bytes);
}

} // namespace tessel

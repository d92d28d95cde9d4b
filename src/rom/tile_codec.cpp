#include "rom/tile_codec.h"

#include <array>
#include <bit>
#include <cstring>

#include "rom/tile_codec_avx2.h"

namespace tessel {

// Rows are moved as one 64-bit word whose lowest byte is column 0.
static_assert(std::endian::native == std::endian::little, "rows are packed little-endian");

namespace {

// For every plane N and plane byte, the eight columns' bits spread one per
// byte and already weighted: byte c of kSpread[N][v] is (bit 7 - c of v) << N.
constexpr std::array<std::array<std::uint64_t, 256>, 4> buildSpreadTables()
{
    std::array<std::array<std::uint64_t, 256>, 4> tables{};
    for (int plane = 0; plane < 4; ++plane)
        for (int v = 0; v < 256; ++v) {
            std::uint64_t spread = 0;
            for (int c = 0; c < 8; ++c)
                if (v & (0x80 >> c)) spread |= std::uint64_t{1} << (8 * c + plane);
            tables[plane][v] = spread;
        }
    return tables;
}

constexpr auto kSpread = buildSpreadTables();

// Bit `plane` of every byte of a row, column 0 in bit 7: the multiplication
// moves bit 8c to bit 63 - c without carries (the partial products land on
// distinct bits), so the top byte holds the plane byte.
inline std::uint8_t gatherPlane(std::uint64_t row, int plane)
{
    const std::uint64_t bits = (row >> plane) & 0x0101010101010101ULL;
    return static_cast<std::uint8_t>((bits * 0x8040201008040201ULL) >> 56);
}

} // namespace

void encodeTilePortable(const std::uint8_t* in, std::uint8_t* tile)
{
    for (int r = 0; r < 8; ++r) {
        std::uint64_t row;
        std::memcpy(&row, in + r * kBufferWidth, 8);
        tile[2 * r] = gatherPlane(row, 0);
        tile[2 * r + 1] = gatherPlane(row, 1);
        tile[16 + 2 * r] = gatherPlane(row, 2);
        tile[17 + 2 * r] = gatherPlane(row, 3);
    }
}

void decodeTilePortable(const std::uint8_t* tile, std::uint8_t* out)
{
    for (int r = 0; r < 8; ++r) {
        const std::uint64_t row = kSpread[0][tile[2 * r]] | kSpread[1][tile[2 * r + 1]] |
                                  kSpread[2][tile[16 + 2 * r]] | kSpread[3][tile[17 + 2 * r]];
        std::memcpy(out + r * kBufferWidth, &row, 8);
    }
}

namespace {

// Decided once: the vector kernels where the processor has them.
const bool kUseAvx2 = processorHasAvx2();

inline void encodeTileAt(const std::uint8_t* in, std::uint8_t* tile)
{
    if (kUseAvx2) return encodeTileAvx2(in, tile);
    encodeTilePortable(in, tile);
}

inline void decodeTileAt(const std::uint8_t* tile, std::uint8_t* out)
{
    if (kUseAvx2) return decodeTileAvx2(tile, out);
    decodeTilePortable(tile, out);
}

} // namespace

void decodeTile(const std::uint8_t* tile, PixelBuffer& pixels, int x0, int y0)
{
    decodeTileAt(tile, pixels.data() + y0 * kBufferWidth + x0);
}

void encodeTile(const PixelBuffer& pixels, int x0, int y0, std::uint8_t* tile)
{
    encodeTileAt(pixels.data() + y0 * kBufferWidth + x0, tile);
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
        for (int tx = 0; tx < w; ++tx, bytes += 32)
            decodeTileAt(bytes, record.pixels.data() + 8 * ty * kBufferWidth + 8 * tx);
}

void encodeSprite(const SpriteRecord& record, std::uint8_t* bytes)
{
    const int w = record.widthTiles, h = record.heightTiles;
    if (w <= 0 || h <= 0 || w * 8 > kBufferWidth || h * 8 > kBufferHeight) return;
    for (int ty = 0; ty < h; ++ty)
        for (int tx = 0; tx < w; ++tx, bytes += 32)
            encodeTileAt(record.pixels.data() + 8 * ty * kBufferWidth + 8 * tx, bytes);
}

} // namespace tessel

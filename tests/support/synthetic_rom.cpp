#include "support/synthetic_rom.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "rom/sprite_catalogue.h"

namespace tessel::testing {

namespace {

constexpr long long kTitleAt = 0x101C0;
constexpr long long kPalettesAt = 0x30200;

// A 3 x 5 digit font, one row per entry, bit 2 = left column.
constexpr std::uint8_t kDigits[10][5] = {
    {7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 7, 1, 7}, {5, 5, 7, 1, 1},
    {7, 4, 7, 1, 7}, {7, 4, 7, 5, 7}, {7, 1, 2, 2, 2}, {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7},
};

bool digitInk(int sprite, int x, int y)
{
    const int digits[4] = {sprite / 1000 % 10, sprite / 100 % 10, sprite / 10 % 10, sprite % 10};
    for (int d = 0; d < 4; ++d) {
        const int left = 2 + 4 * (d % 2), top = 2 + 6 * (d / 2);
        const int col = x - left, row = y - top;
        if (col >= 0 && col < 3 && row >= 0 && row < 5)
            return (kDigits[digits[d]][row] >> (2 - col)) & 1;
    }
    return false;
}

// The tile layout written the slow, obvious way, one bit at a time, so that
// the image does not depend on the codec it is used to test.
void writeTile(std::uint8_t* tile, int sprite, int x0, int y0)
{
    std::memset(tile, 0, 32);
    for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 8; ++c) {
            const int v = expectedPixel(sprite, x0 + c, y0 + r);
            for (int plane = 0; plane < 4; ++plane) {
                const int byte = (plane < 2 ? 0 : 16) + 2 * r + (plane & 1);
                if (v & (1 << plane)) tile[byte] |= static_cast<std::uint8_t>(0x80 >> c);
            }
        }
}

} // namespace

std::uint8_t fillerByte(long long offset)
{
    const std::uint64_t h = static_cast<std::uint64_t>(offset) * 0x9E3779B97F4A7C15ULL;
    return static_cast<std::uint8_t>(h >> 56);
}

int expectedPixel(int sprite, int x, int y)
{
    const CatalogueEntry& e = spriteCatalogue()[sprite];
    const int w = 8 * e.widthTiles, h = 8 * e.heightTiles;
    if (x < 0 || y < 0 || x >= w || y >= h) return 0;
    if (x == 0 || y == 0 || x == w - 1 || y == h - 1) return 1 + sprite % 15;
    if (digitInk(sprite, x, y)) return 15;
    const int diagonal = x + y - (sprite % 29);
    if (diagonal >= 12 && diagonal < 14) return 2 + sprite % 13;
    return 0;
}

ExpectedColour expectedRawColour(int palette, int k)
{
    if (k == 0) return {palette & 1, 31, 31 - palette};
    // Red alone keeps the sixteen colours of a palette apart and non-black.
    return {2 * k + (palette & 1), (palette + 3 * k) % 32, (7 * palette + 5 * k) % 32};
}

std::uint16_t expectedColourWord(int palette, int k)
{
    const ExpectedColour c = expectedRawColour(palette, k);
    const int unusedBit = (palette + k) % 5 == 0 ? 0x8000 : 0;
    return static_cast<std::uint16_t>(unusedBit | (c.blue << 10) | (c.green << 5) | c.red);
}

std::vector<std::uint8_t> buildSyntheticRom(const SyntheticRomOptions& options)
{
    std::vector<std::uint8_t> rom(kSyntheticRomSize);
    for (long long i = 0; i < kSyntheticRomSize; ++i) rom[i] = fillerByte(i);
    std::string title = options.title;
    title.resize(11, ' ');
    std::memcpy(rom.data() + kTitleAt, title.data(), 11);
    for (int p = 0; p < 32; ++p)
        for (int k = 0; k < 16; ++k) {
            const std::uint16_t word = expectedColourWord(p, k);
            rom[kPalettesAt + 32 * p + 2 * k] = static_cast<std::uint8_t>(word & 0xFF);
            rom[kPalettesAt + 32 * p + 2 * k + 1] = static_cast<std::uint8_t>(word >> 8);
        }
    for (int i = 0; i < 1144; ++i) {
        const CatalogueEntry& e = spriteCatalogue()[i];
        std::uint8_t* tile = rom.data() + e.romOffset;
        for (int ty = 0; ty < e.heightTiles; ++ty)
            for (int tx = 0; tx < e.widthTiles; ++tx, tile += 32) writeTile(tile, i, 8 * tx, 8 * ty);
    }
    if (options.truncateAt >= 0 && options.truncateAt < kSyntheticRomSize)
        rom.resize(options.truncateAt);
    return rom;
}

bool writeSyntheticRom(const std::string& path, const SyntheticRomOptions& options,
                       std::string* error)
{
    const std::vector<std::uint8_t> rom = buildSyntheticRom(options);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        if (error) *error = path + ": " + std::strerror(errno);
        return false;
    }
    bool ok = std::fwrite(rom.data(), 1, rom.size(), f) == rom.size();
    int why = ok ? 0 : errno;
    if (std::fclose(f) != 0 && ok) {
        ok = false;
        why = errno;
    }
    if (!ok && error) *error = path + ": " + std::strerror(why);
    return ok;
}

} // namespace tessel::testing

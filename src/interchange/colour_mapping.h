// Turning true-colour pixels back into a palette's colour indices.
//
// A pixel matches palette entry k when each of its 8-bit components shifted
// right by 3 equals the entry's raw 5-bit component (so the colour the
// program shows, 8v + 7, and every other value from 8v to 8v + 7 come back
// as v). A fully transparent pixel is index 0 whatever its colour. Where
// several entries match, the index the pixel already has is kept when it is
// one of them, otherwise the lowest is taken; that makes an export followed
// by an import change nothing even when a palette repeats a colour.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "interchange/png_image.h"
#include "rom/palette_codec.h"

namespace tessel {

inline constexpr int kMaxListedUnmatched = 10;

// The 16 raw colours a picture is matched against, turned into a table of
// all 32768 five-bit colours, each with a bit for every entry it matches.
class ColourMatcher {
public:
    explicit ColourMatcher(const std::array<RawColour, kColoursPerPalette>& raw);

    // Bit k set: entry k matches (r, g, b).
    std::uint16_t matches(std::uint8_t r, std::uint8_t g, std::uint8_t b) const
    {
        return table_[(r >> 3) | ((g >> 3) << 5) | ((b >> 3) << 10)];
    }

private:
    std::unique_ptr<std::uint16_t[]> table_;
};

// What the sprites and the sheet match against: entries 1..15 are the
// palette's raw colours; entry 0, which the ROM never holds, is black, the
// colour the program shows for it.
std::array<RawColour, kColoursPerPalette> matchingColours(const RawPalette& raw);

// A palette picture's values are taken as the sprite's indices only when
// its palette says so: for every value used (bit v of `used`), v is below 16
// and entry v, each component shifted right by 3, is the sprite's colour v
// (entry 0 may be any colour, or transparent); an entry from 1 up that is
// fully transparent shows no colour and so names none. Any other palette
// picture is matched by colour as an RGB picture is: other programs reorder
// palettes freely, and the user expects what they see.
using UsedValues = std::array<bool, 256>;
bool valuesAreIndices(const UsedValues& used, std::span<const Rgba> plte, const RawPalette& raw);

struct UnmatchedPixel {
    int x = 0, y = 0;
    std::uint8_t r = 0, g = 0, b = 0;
};

struct MappingResult {
    long long unmatchedCount = 0;
    std::vector<UnmatchedPixel> firstUnmatched; // at most kMaxListedUnmatched, in reading order
};

// Maps the width x height pixels of `rgba` (R G B A, `rgbaStride` bytes a
// row) into `out` (`outStride` bytes a row, one index a byte); `existing`
// holds the pixels' present indices (low four bits, `outStride` a row) and
// may be the same memory as `out`. Unmatched pixels are reported at
// (x + originX, y + originY) and leave their byte of `out` alone.
MappingResult mapColours(const std::uint8_t* rgba, std::size_t rgbaStride, int width, int height,
                         const ColourMatcher& matcher, const std::uint8_t* existing, std::uint8_t* out,
                         std::size_t outStride, int originX = 0, int originY = 0);

// "#rrggbb"
std::string hexColour(std::uint8_t r, std::uint8_t g, std::uint8_t b);
// "(x, y, #rrggbb), ..." for the listed pixels.
std::string listUnmatched(const std::vector<UnmatchedPixel>& pixels);

} // namespace tessel

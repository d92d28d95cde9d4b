// The synthetic ROM every test and the demo open: a copier image (512-byte
// header) with "OAKEN SHORE" at 0x101C0, every catalogued sprite drawn with
// a known pattern and 32 palettes of known colours. Everything else holds
// filler bytes that depend on the offset, so a stray write shows.
//
// Sprite i shows: a frame in index 1 + i % 15, its number as four 3 x 5
// digits in index 15 (two digits per line, from (2, 2) and (2, 8)), and an
// anti-diagonal band two pixels wide in index 2 + i % 13 whose place depends
// on i; the rest is index 0. No two sprites are alike.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tessel::testing {

inline constexpr long long kSyntheticRomSize = 0x200200;

struct SyntheticRomOptions {
    long long truncateAt = -1;          // keep only this many bytes (-1: all)
    std::string title = "OAKEN SHORE";  // the 11 bytes at 0x101C0 (padded with spaces)
};

std::vector<std::uint8_t> buildSyntheticRom(const SyntheticRomOptions& options = {});
// Writes the image to `path`; false with a reason in `error` on failure.
bool writeSyntheticRom(const std::string& path, const SyntheticRomOptions& options = {},
                       std::string* error = nullptr);

// The colour index of pixel (x, y) of sprite i as the image holds it; 0 for
// a pixel outside the sprite's width and height.
int expectedPixel(int sprite, int x, int y);

struct ExpectedColour {
    int red = 0, green = 0, blue = 0;
};
// Raw components of colour k of palette p (colour 0 too: the image holds a
// non-black colour there that must never be read).
ExpectedColour expectedRawColour(int palette, int k);
// The 16-bit word stored for that colour; bit 15 is set on some colours.
std::uint16_t expectedColourWord(int palette, int k);

// The byte the image holds at `offset` outside titles, tiles and palettes.
std::uint8_t fillerByte(long long offset);

} // namespace tessel::testing

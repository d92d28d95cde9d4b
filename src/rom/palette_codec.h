// Sprite palettes: 32 palettes of 16 colours at file offset
// 0x30200 + 32 * p, each colour a little-endian word with red in bits 0-4,
// green in 5-9, blue in 10-14 and bit 15 unused (ignored on reading, 0 on
// writing). Colour 0 of a palette is never read (it shows black) and never
// written.
#pragma once

#include <cstdint>

#include "model/sprite_store.h"

namespace tessel {

inline constexpr int kPaletteBytes = 32;
inline constexpr int kPaletteWriteBytes = 30; // colours 1..15

struct RawColour {
    int red = 0, green = 0, blue = 0;
    friend bool operator==(const RawColour&, const RawColour&) = default;
};

RawColour decodeColour(std::uint16_t word);
// Components are masked to 0..31 so that an out-of-range value can never
// spill into a neighbouring component or bit 15.
std::uint16_t encodeColour(int red, int green, int blue);
// A raw component 0..31 as the screen shows it: 0 -> 7, 31 -> 255.
inline int displayComponent(int raw) { return 8 * raw + 7; }

// Fills colours 1..15 of `raw` and all of `display` from the palette's 32
// bytes; display colour 0 is black and raw colour 0 is left alone.
void decodePalette(const std::uint8_t* bytes, RawPalette& raw, DisplayPalette& display);

// The 30 bytes of colours 1..15, as they go to 0x30202 + 32 * p.
void encodePaletteColours(const RawPalette& raw, std::uint8_t* bytes);

} // namespace tessel

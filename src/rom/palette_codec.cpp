#include "rom/palette_codec.h"

namespace tessel {

RawColour decodeColour(std::uint16_t word)
{
    return {word & 31, (word >> 5) & 31, (word >> 10) & 31};
}

std::uint16_t encodeColour(int red, int green, int blue)
{
    return static_cast<std::uint16_t>(((blue & 31) << 10) | ((green & 31) << 5) | (red & 31));
}

void decodePalette(const std::uint8_t* bytes, RawPalette& raw, DisplayPalette& display)
{
    display.red[0] = display.green[0] = display.blue[0] = 0;
    for (int k = 1; k < kColoursPerPalette; ++k) {
        const auto word = static_cast<std::uint16_t>(bytes[2 * k] | (bytes[2 * k + 1] << 8));
        const RawColour c = decodeColour(word);
        raw.red[k] = c.red;
        raw.green[k] = c.green;
        raw.blue[k] = c.blue;
        // Our surfaces are true colour, so the nearest displayable colour is
        // the colour itself.
        display.red[k] = displayComponent(c.red);
        display.green[k] = displayComponent(c.green);
        display.blue[k] = displayComponent(c.blue);
    }
}

void encodePaletteColours(const RawPalette& raw, std::uint8_t* bytes)
{
    for (int k = 1; k < kColoursPerPalette; ++k) {
        const std::uint16_t word = encodeColour(raw.red[k], raw.green[k], raw.blue[k]);
        bytes[2 * (k - 1)] = static_cast<std::uint8_t>(word & 0xFF);
        bytes[2 * (k - 1) + 1] = static_cast<std::uint8_t>(word >> 8);
    }
}

} // namespace tessel

#include "rom/palette_codec.h"

#include <array>
#include <gtest/gtest.h>

namespace tessel {
namespace {

TEST(PaletteCodec, DecodesHandWorkedWords)
{
    EXPECT_EQ(decodeColour(0x7FFF), (RawColour{31, 31, 31}));
    EXPECT_EQ(decodeColour(0x001F), (RawColour{31, 0, 0}));
    EXPECT_EQ(decodeColour(0x03E0), (RawColour{0, 31, 0}));
    EXPECT_EQ(decodeColour(0x7C00), (RawColour{0, 0, 31}));
    EXPECT_EQ(decodeColour(0x8000), (RawColour{0, 0, 0})); // bit 15 is ignored
    EXPECT_EQ(decodeColour(0x0C41), (RawColour{1, 2, 3}));
    EXPECT_EQ(displayComponent(0), 7);
    EXPECT_EQ(displayComponent(31), 255);
}

TEST(PaletteCodec, DecodesAPaletteButNeverColourZero)
{
    std::array<std::uint8_t, 32> bytes{};
    bytes[0] = 0xFF; // colour 0 holds white in the file
    bytes[1] = 0x7F;
    bytes[2] = 0x1F; // colour 1: 0x001F
    bytes[4] = 0x00; // colour 2: 0x8000
    bytes[5] = 0x80;
    bytes[30] = 0xFF; // colour 15: 0x7FFF
    bytes[31] = 0x7F;
    RawPalette raw;
    raw.red[0] = 3; // loading leaves raw colour 0 alone
    DisplayPalette display;
    display.red[0] = display.green[0] = display.blue[0] = 200;
    decodePalette(bytes.data(), raw, display);

    EXPECT_EQ(raw.red[0], 3);
    EXPECT_EQ(raw.green[0], 0);
    EXPECT_EQ(colourOf(display, 0), (Rgb{0, 0, 0}));
    EXPECT_EQ(raw.red[1], 31);
    EXPECT_EQ(raw.green[1], 0);
    EXPECT_EQ(colourOf(display, 1), (Rgb{255, 7, 7}));
    EXPECT_EQ(raw.red[2] + raw.green[2] + raw.blue[2], 0);
    EXPECT_EQ(colourOf(display, 2), (Rgb{7, 7, 7}));
    EXPECT_EQ(colourOf(display, 15), (Rgb{255, 255, 255}));
}

TEST(PaletteCodec, EncodesColoursOneToFifteen)
{
    RawPalette raw;
    raw.red[0] = 31; // colour 0 is never written
    raw.red[1] = 1;
    raw.green[1] = 2;
    raw.blue[1] = 3;
    raw.blue[15] = 31;
    std::array<std::uint8_t, 30> bytes;
    encodePaletteColours(raw, bytes.data());
    // (1, 2, 3) is 3 * 1024 + 2 * 32 + 1 = 0x0C41, low byte first.
    EXPECT_EQ(bytes[0], 0x41);
    EXPECT_EQ(bytes[1], 0x0C);
    EXPECT_EQ(bytes[2], 0);
    EXPECT_EQ(bytes[28], 0x00);
    EXPECT_EQ(bytes[29], 0x7C);
}

TEST(PaletteCodec, OutOfRangeComponentsNeverSpill)
{
    // 32 would carry into the next component; -1 would set every bit.
    EXPECT_EQ(encodeColour(32, 0, 0), 0);
    EXPECT_EQ(encodeColour(0, 33, 0), 1 << 5);
    EXPECT_EQ(encodeColour(0, 0, 63), 31 << 10);
    EXPECT_EQ(encodeColour(-1, -1, -1), 0x7FFF);
    for (int r = 0; r < 32; ++r)
        for (int g = 0; g < 32; g += 3)
            for (int b = 0; b < 32; b += 5) ASSERT_EQ(decodeColour(encodeColour(r, g, b)), (RawColour{r, g, b}));
}

} // namespace
} // namespace tessel

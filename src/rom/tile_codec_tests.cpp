#include "rom/tile_codec.h"

#include <array>
#include <gtest/gtest.h>
#include <memory>
#include <random>

namespace tessel {
namespace {

using Tile = std::array<std::uint8_t, 32>;

// The tile format read the slow way: the index at column c of row r is
// p0 + 2 p1 + 4 p2 + 8 p3, pN being bit 7 - c of plane N's byte of row r.
int slowIndex(const Tile& t, int c, int r)
{
    const int bit = 7 - c;
    return ((t[2 * r] >> bit) & 1) | (((t[2 * r + 1] >> bit) & 1) << 1) |
           (((t[16 + 2 * r] >> bit) & 1) << 2) | (((t[17 + 2 * r] >> bit) & 1) << 3);
}

std::unique_ptr<PixelBuffer> decoded(const Tile& t, int x0 = 0, int y0 = 0)
{
    auto pixels = std::make_unique<PixelBuffer>();
    decodeTile(t.data(), *pixels, x0, y0);
    return pixels;
}

TEST(TileCodec, DecodesHandWorkedBytes)
{
    Tile t{};
    EXPECT_EQ((*decoded(t))[0], 0);
    t.fill(0xFF);
    auto all = decoded(t);
    for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 8; ++c) EXPECT_EQ((*all)[r * 64 + c], 15);

    t.fill(0);
    t[0] = 0x80; // plane 0 of row 0, column 0
    auto one = decoded(t);
    EXPECT_EQ((*one)[0], 1);
    for (int i = 1; i < 8; ++i) EXPECT_EQ((*one)[i], 0);
    EXPECT_EQ((*one)[64], 0);

    t.fill(0);
    t[17] = 0x01; // plane 3 of row 0, column 7
    auto eight = decoded(t);
    EXPECT_EQ((*eight)[7], 8);
    EXPECT_EQ((*eight)[6], 0);

    t.fill(0);
    t[2 * 3 + 1] = 0x02; // plane 1 of row 3, column 6
    t[16 + 2 * 5] = 0x40; // plane 2 of row 5, column 1
    auto two = decoded(t);
    EXPECT_EQ((*two)[3 * 64 + 6], 2);
    EXPECT_EQ((*two)[5 * 64 + 1], 4);
}

TEST(TileCodec, DecodesAtItsPlaceInTheBuffer)
{
    Tile t{};
    t.fill(0xFF);
    auto pixels = decoded(t, 56, 72); // the last tile of an 8 x 10 sprite
    EXPECT_EQ((*pixels)[72 * 64 + 56], 15);
    EXPECT_EQ((*pixels)[79 * 64 + 63], 15);
    EXPECT_EQ((*pixels)[71 * 64 + 63], 0);
    EXPECT_EQ((*pixels)[79 * 64 + 55], 0);
}

TEST(TileCodec, EncodesHandWorkedPixels)
{
    auto pixels = std::make_unique<PixelBuffer>();
    Tile t;
    encodeTile(*pixels, 0, 0, t.data());
    EXPECT_EQ(t, Tile{});

    (*pixels)[0] = 1;
    encodeTile(*pixels, 0, 0, t.data());
    Tile expected{};
    expected[0] = 0x80;
    EXPECT_EQ(t, expected);

    // Only the low four bits count: 0x35 is index 5 (planes 0 and 2).
    (*pixels)[0] = 0x35;
    (*pixels)[64 * 7 + 7] = 0xF8; // index 8 at column 7 of row 7: plane 3
    encodeTile(*pixels, 0, 0, t.data());
    expected = {};
    expected[0] = 0x80;
    expected[16] = 0x80;
    expected[17 + 14] = 0x01;
    EXPECT_EQ(t, expected);

    pixels->fill(15);
    encodeTile(*pixels, 8, 8, t.data());
    Tile ones;
    ones.fill(0xFF);
    EXPECT_EQ(t, ones);
}

TEST(TileCodec, RandomTilesMatchTheSlowReadingAndRoundTrip)
{
    std::mt19937 rng(7);
    auto pixels = std::make_unique<PixelBuffer>();
    for (int n = 0; n < 500; ++n) {
        Tile t;
        for (auto& b : t) b = static_cast<std::uint8_t>(rng());
        const int x0 = 8 * (rng() % 8), y0 = 8 * (rng() % 10);
        decodeTile(t.data(), *pixels, x0, y0);
        for (int r = 0; r < 8; ++r)
            for (int c = 0; c < 8; ++c)
                ASSERT_EQ((*pixels)[(y0 + r) * 64 + x0 + c], slowIndex(t, c, r));
        Tile back;
        encodeTile(*pixels, x0, y0, back.data());
        ASSERT_EQ(back, t);
    }
}

// The codec picks vector kernels on processors that have them; the portable
// kernels must give the same bytes, whichever this machine runs.
TEST(TileCodec, ThePortableKernelsAgreeWithTheSlowReading)
{
    std::mt19937 rng(9);
    auto pixels = std::make_unique<PixelBuffer>();
    for (int n = 0; n < 500; ++n) {
        Tile t;
        for (auto& b : t) b = static_cast<std::uint8_t>(rng());
        const int x0 = 8 * (rng() % 8), y0 = 8 * (rng() % 10);
        std::uint8_t* at = pixels->data() + y0 * 64 + x0;
        decodeTilePortable(t.data(), at);
        for (int r = 0; r < 8; ++r)
            for (int c = 0; c < 8; ++c) ASSERT_EQ(at[r * 64 + c], slowIndex(t, c, r));
        for (int r = 0; r < 8; ++r)
            for (int c = 0; c < 8; ++c) at[r * 64 + c] |= static_cast<std::uint8_t>(rng() & 0xF0);
        Tile back, vector;
        encodeTilePortable(at, back.data());
        encodeTile(*pixels, x0, y0, vector.data());
        ASSERT_EQ(back, t);
        ASSERT_EQ(vector, t);
    }
}

TEST(TileCodec, SpritesClearTheirOutsideAndIgnoreItOnEncoding)
{
    auto record = std::make_unique<SpriteRecord>();
    record->widthTiles = 2;
    record->heightTiles = 3;
    std::vector<std::uint8_t> bytes(6 * 32);
    std::mt19937 rng(3);
    for (auto& b : bytes) b = static_cast<std::uint8_t>(rng());
    record->pixels.fill(0xAA);
    decodeSprite(bytes.data(), *record);
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 64; ++x) {
            const int v = record->pixels[y * 64 + x];
            if (x >= 16 || y >= 24) {
                ASSERT_EQ(v, 0) << x << "," << y;
            } else {
                // Tile (x / 8, y / 8) is tile number (y / 8) * 2 + x / 8.
                Tile t;
                std::copy_n(bytes.begin() + 32 * ((y / 8) * 2 + x / 8), 32, t.begin());
                ASSERT_EQ(v, slowIndex(t, x % 8, y % 8));
            }
        }
    // Pixels outside the sprite and high nibbles never reach the bytes.
    record->pixels[20] = 0x77;
    record->pixels[30 * 64] = 0x33;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 16; ++x) record->pixels[y * 64 + x] |= 0xF0 & rng();
    std::vector<std::uint8_t> back(6 * 32);
    encodeSprite(*record, back.data());
    EXPECT_EQ(back, bytes);
}

} // namespace
} // namespace tessel

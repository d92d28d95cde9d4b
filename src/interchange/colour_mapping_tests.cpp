#include "interchange/colour_mapping.h"

#include <gtest/gtest.h>

namespace tessel {
namespace {

// Entry k is (k, 2k % 32, 31 - k), except that 5 repeats 3 and 0 is black.
std::array<RawColour, kColoursPerPalette> colours()
{
    std::array<RawColour, kColoursPerPalette> c{};
    for (int k = 1; k < kColoursPerPalette; ++k) c[k] = {k, (2 * k) % 32, 31 - k};
    c[5] = c[3];
    return c;
}

TEST(ColourMapping, TakesTheRightIndexForEachPixel)
{
    const ColourMatcher matcher(colours());
    struct Case {
        const char* what;
        std::uint8_t r, g, b, a, present, expected;
    } cases[] = {
        {"shown colour 8v + 7", 8 * 7 + 7, 8 * 14 + 7, 8 * 24 + 7, 255, 0, 7},
        {"lowest value 8v", 8 * 7, 8 * 14, 8 * 24, 255, 0, 7},
        {"half transparent still by colour", 8 * 7, 8 * 14, 8 * 24, 1, 0, 7},
        {"transparent whatever its colour", 200, 100, 50, 0, 9, 0},
        {"black is colour 0", 0, 7, 0, 255, 4, 0},
        {"duplicate: keeps 5 where 5 was", 8 * 3, 8 * 6, 8 * 28, 255, 5, 5},
        {"duplicate: keeps 3 where 3 was", 8 * 3, 8 * 6, 8 * 28, 255, 3, 3},
        {"duplicate: lowest where neither was", 8 * 3, 8 * 6, 8 * 28, 255, 12, 3},
        {"high bits of the present byte ignored", 8 * 3, 8 * 6, 8 * 28, 255, 0xA5, 5},
    };
    for (const Case& c : cases) {
        const std::uint8_t rgba[4] = {c.r, c.g, c.b, c.a};
        std::uint8_t pixel = c.present;
        const MappingResult r = mapColours(rgba, 4, 1, 1, matcher, &pixel, &pixel, 1);
        EXPECT_EQ(r.unmatchedCount, 0) << c.what;
        EXPECT_EQ(pixel, c.expected) << c.what;
    }
}

TEST(ColourMapping, CountsUnmatchedPixelsAndListsTheFirstTen)
{
    const ColourMatcher matcher(colours());
    // 4 x 3 pixels: every one but (1, 0) is #ff00ff, which no entry holds.
    std::vector<std::uint8_t> rgba;
    for (int i = 0; i < 12; ++i) rgba.insert(rgba.end(), {255, 0, 255, 255});
    rgba[4] = rgba[5] = rgba[6] = 0;
    std::vector<std::uint8_t> out(12, 6);
    const MappingResult r = mapColours(rgba.data(), 16, 4, 3, matcher, out.data(), out.data(), 4, 100, 200);
    EXPECT_EQ(r.unmatchedCount, 11);
    ASSERT_EQ(r.firstUnmatched.size(), 10u);
    EXPECT_EQ(listUnmatched({r.firstUnmatched.begin(), r.firstUnmatched.begin() + 3}),
              "(100, 200, #ff00ff), (102, 200, #ff00ff), (103, 200, #ff00ff)");
    EXPECT_EQ(r.firstUnmatched[9].x, 102);
    EXPECT_EQ(r.firstUnmatched[9].y, 202);
    EXPECT_EQ(out[1], 0);
    EXPECT_EQ(out[0], 6); // unmatched pixels are left alone
}

} // namespace
} // namespace tessel

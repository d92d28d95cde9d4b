#include "editor/zoomed_view.h"

#include <vector>

#include "editor/tools_test_fixture.h"

namespace tessel {
namespace {

using ZoomedView = ToolsFixture; // sprite 24 x 16, colour i = (16 i, 200 - 8 i, 7)

TEST(ZoomedLayoutRules, FitClampCentreAndRoundDown)
{
    struct Fit { int w, h, sw, sh, zoom; };
    for (const Fit f : {Fit{100, 60, 16, 8, 6}, Fit{10, 10, 64, 80, 1}, Fit{5000, 5000, 16, 8, 32},
                        Fit{0, 0, 0, 0, 32}, Fit{640, 480, 64, 80, 6}})
        EXPECT_EQ(fittingZoom(f.w, f.h, f.sw, f.sh), f.zoom) << f.w << "x" << f.h;

    const ZoomedLayout l = zoomedLayout(101, 61, 24, 16, 3); // (101 - 72) / 2, (61 - 48) / 2
    EXPECT_EQ(l.left, 14);
    EXPECT_EQ(l.top, 6);
    const ZoomedLayout big = zoomedLayout(101, 61, 24, 16, 40); // 32x: (101 - 768) / 2 rounded down
    EXPECT_EQ(big.zoom, 32);
    EXPECT_EQ(big.left, -334);
    EXPECT_EQ(zoomedLayout(101, 61, 24, 16, 0).zoom, 1);
    struct At { int viewX, pixelX; };
    for (const At a : {At{14, 0}, At{16, 0}, At{17, 1}, At{13, -1}, At{11, -1}, At{10, -2}})
        EXPECT_EQ(spritePixelAt(l, {a.viewX, 6}).x, a.pixelX) << a.viewX;
    EXPECT_EQ(spritePixelAt(big, {-334 + 32 * 23 + 31, 0}).x, 23);
}

TEST(ZoomedLayoutRules, CanvasPointsReadAsTheirPixelByEveryCanvasRule)
{
    // The tools read (p - 2) / 4, the selection p / 4, both toward zero.
    for (int s = -70; s <= 70; ++s) {
        const Point c = canvasPointOf({s, s});
        EXPECT_EQ((c.x - 2) / 4, s) << s;
        EXPECT_EQ(c.y / 4, s) << s;
    }
}

TEST_F(ZoomedView, PaintsPixelsGridsAndOutlineWhereWorkedOut)
{
    // 6x in 160 x 110: the 144 x 96 sprite from (8, 7).
    const ZoomedLayout l = zoomedLayout(*state, 160, 110, 6);
    state->selection.selectionRect = {1, 1, 3, 2}; // view (14, 13) to (26, 19), last excluded
    WorkSurface surface;
    renderWorkSurface(*state, surface);
    std::vector<std::uint32_t> image(160 * 110, 0);
    auto colour = [&](int x, int y) {
        const int i = px(x, y) & 15;
        return 0xff000000u | (16u * i) << 16 | (200u - 8 * i) << 8 | 7u;
    };
    const std::uint32_t grey = 0xff7f7f7f, white = 0xffffffff;
    struct Expect { int x, y; std::uint32_t rgb; const char* what; };
    auto check = [&](std::initializer_list<Expect> expected) {
        for (const Expect& e : expected)
            EXPECT_EQ(image[e.y * 160 + e.x], e.rgb) << e.what << " at " << e.x << ", " << e.y;
    };
    paintZoomed(*state, surface, l, {true, true}, image.data(), 160);
    check({{0, 0, grey, "outside"}, {7, 20, grey, "left of the sprite"}, {152, 20, grey, "right of it"},
           {8, 20, colour(0, 2), "left edge, no line"}, {17, 16, colour(1, 1), "inside pixel (1, 1)"},
           {14, 20, kPixelGridColour, "pixel line"}, {56, 20, kTileGridColour, "tile column"},
           {20, 55, kTileGridColour, "tile row"}, {57, 55, kTileGridColour, "tile row over a pixel column"},
           {151, 102, colour(23, 15), "last pixel"}, {15, 13, white, "outline dot"},
           {14, 13, grey, "outline gap"}, {25, 15, white, "outline's right column"}, {27, 15, colour(3, 1), "past it"}});
    paintZoomed(*state, surface, l, {false, false}, image.data(), 160);
    check({{14, 20, colour(1, 2), "no pixel line"}, {56, 20, colour(8, 2), "no tile line"}});
    const ZoomedLayout five = zoomedLayout(*state, 160, 110, 5); // 120 x 80 from (20, 15)
    paintZoomed(*state, surface, five, {true, true}, image.data(), 160);
    check({{25, 35, colour(1, 4), "no pixel line below 6x"}, {60, 35, kTileGridColour, "tile line at 5x"}});
}

} // namespace
} // namespace tessel

#include "editor/tools_test_fixture.h"
#include "tools/undo.h"

namespace tessel {
namespace {

struct FillTool : ToolsFixture {
    void SetUp() override
    {
        ToolsFixture::SetUp();
        state->tools.currentTool = ToolId::FloodFill;
        fillSprite(2);
        // A ring of index 5 around [3, 8) x [3, 7).
        for (int x = 2; x <= 8; ++x) px(x, 2) = px(x, 7) = 5;
        for (int y = 2; y <= 7; ++y) px(2, y) = px(8, y) = 5;
    }
    // The expected sprite: `inside` for the ring's inside, `outside` for the
    // sprite's other index-2 pixels, the ring kept, beyond the sprite kept.
    PixelBuffer expected(int inside, int outside) const
    {
        PixelBuffer p = originalPixels();
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                const bool ring = (x >= 2 && x <= 8 && (y == 2 || y == 7)) ||
                                  (y >= 2 && y <= 7 && (x == 2 || x == 8));
                const bool in = x > 2 && x < 8 && y > 2 && y < 7;
                p[y * 64 + x] = static_cast<std::uint8_t>(ring ? 5 : in ? inside : outside);
            }
        return p;
    }
};

TEST_F(FillTool, ClosedOutlineHoldsWithBothButtons)
{
    onLeftButtonDown(*state, client(5, 5));
    onLeftButtonUp(*state);
    EXPECT_EQ(state->current().pixels, expected(4, 2));
    onRightButtonDown(*state, client(0, 0));
    onRightButtonUp(*state);
    EXPECT_EQ(state->current().pixels, expected(4, 11));
    undo(*state);
    EXPECT_EQ(state->current().pixels, expected(4, 2));
}

TEST_F(FillTool, AGapLetsTheFillOut)
{
    px(8, 5) = 2;
    onLeftButtonDown(*state, client(5, 5));
    PixelBuffer want = expected(4, 4);
    want[5 * 64 + 8] = 4;
    EXPECT_EQ(state->current().pixels, want);
}

TEST_F(FillTool, TheAreaIsOneDisplayColourAndTakesTheBrushIndexExactly)
{
    // Index 6 looks like index 2; the ring's index 5 does not.
    setColour(6, colourOf(state->currentDisplayPalette, 2));
    for (int y = 0; y < H; ++y) px(12, y) = 6;
    px(15, 3) = 0xF2; // same colour index, high bits set
    onLeftButtonDown(*state, client(0, 0));
    PixelBuffer want = expected(2, 4);
    for (int y = 0; y < H; ++y) want[y * 64 + 12] = 4;
    EXPECT_EQ(state->current().pixels, want);
}

TEST_F(FillTool, GreyAroundTheSpriteIsAnAreaOfItsOwn)
{
    setColour(2, Rgb{127, 127, 127}); // the canvas grey
    // Right press on the surface beyond the sprite: the grey area reaches
    // every index-2 pixel of the sprite outside the ring, not inside it.
    onRightButtonDown(*state, client(30, 5));
    EXPECT_EQ(state->current().pixels, expected(2, 11));
    // Off the 64 x 80 surface there is nothing to fill.
    onRightButtonDown(*state, {-500, -500});
    onRightButtonDown(*state, client(64, 3));
    EXPECT_EQ(state->current().pixels, expected(2, 11));
    EXPECT_EQ(undoLevels(), 3);
}

} // namespace
} // namespace tessel

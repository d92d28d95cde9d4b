#include <gtest/gtest.h>

#include <random>

#include "selection/flip.h"
#include "selection/selection_test_fixture.h"
#include "tools/undo.h"

namespace tessel {
namespace {

using FlipFixture = SelectionFixture;

// Mirrors region r of a copy of `in` one pixel at a time, straight from the
// index rules: R(x0 + w - 1 - i, y) = S(x0 + i, y), or the same for rows.
PixelBuffer mirrored(const PixelBuffer& in, Rect r, bool horizontal)
{
    PixelBuffer out = in;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) {
            const int sx = horizontal ? r.left + r.right - 1 - x : x;
            const int sy = horizontal ? y : r.top + r.bottom - 1 - y;
            out[y * 64 + x] = in[sy * 64 + sx];
        }
    return out;
}

TEST_F(FlipFixture, WholeSpriteFlipLeavesTheRestOfTheStoreAlone)
{
    makeSprite(5, 2, 2); // 16 x 16
    state->currentSprite = 5;
    const PixelBuffer before = state->current().pixels;
    flipHorizontal(*state);
    EXPECT_EQ(px(15, 5), before[5 * 64 + 0]);
    EXPECT_EQ(state->current().pixels, mirrored(before, {0, 0, 16, 16}, true));
    flipVertical(*state);
    EXPECT_EQ(px(15, 10), before[5 * 64 + 0]);
    EXPECT_EQ(state->undo.top, 1);
}

TEST_F(FlipFixture, VerticalFlipOfAnOutlinedRectangleSwapsItsRows)
{
    const PixelBuffer before = state->current().pixels;
    outline(4, 2, 10, 7);
    flipVertical(*state);
    for (int y = 0; y < kBufferHeight; ++y)
        for (int x = 0; x < kBufferWidth; ++x) {
            int sy = y;
            if (x >= 4 && x < 10 && y >= 2 && y < 7) sy = (y == 2) ? 6 : (y == 3) ? 5 : (y == 5) ? 3 : (y == 6) ? 2 : 4;
            ASSERT_EQ(px(x, y), original(x, sy)) << x << "," << y;
        }
    EXPECT_EQ(state->selection.selectionRect, (Rect{4, 2, 10, 7}));
    EXPECT_FALSE(state->selection.selectionFloating);
    undo(*state);
    EXPECT_EQ(state->current().pixels, before);
}

TEST_F(FlipFixture, HorizontalFlipOfAnOddWidthKeepsTheMiddleColumn)
{
    outline(3, 1, 8, 4); // five columns, middle column 5
    flipHorizontal(*state);
    for (int y = 1; y < 4; ++y) {
        EXPECT_EQ(px(5, y), original(5, y));
        EXPECT_EQ(px(3, y), original(7, y));
        EXPECT_EQ(px(6, y), original(4, y));
    }
}

TEST_F(FlipFixture, FlippingTwiceIsTheIdentity)
{
    std::mt19937 rng(1234);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 40; ++round) {
        state = std::make_unique<EditorState>();
        SetUp();
        for (auto& v : state->current().pixels) v = static_cast<std::uint8_t>(byte(rng));
        const int l = rng() % W, t = rng() % H;
        const int r = l + 1 + rng() % (W - l), b = t + 1 + rng() % (H - t);
        const int mode = round % 3; // whole sprite, outlined, floating
        if (mode > 0) outline(l, t, r, b);
        if (mode == 2) {
            press(l, t);
            drag(l - 3 + static_cast<int>(rng() % 7), t - 3 + static_cast<int>(rng() % 7));
        }
        const PixelBuffer pixels = state->current().pixels;
        const PixelBuffer block = state->selection.floatingPixels;
        const PixelBuffer once = mirrored(mode == 2 ? block : pixels,
                                          mode == 0 ? Rect{0, 0, W, H}
                                          : mode == 1 ? Rect{l, t, r, b}
                                                      : Rect{0, 0, r - l, b - t},
                                          round % 2 == 0);
        void (*flip)(EditorState&) = round % 2 == 0 ? flipHorizontal : flipVertical;
        flip(*state);
        EXPECT_EQ(mode == 2 ? state->selection.floatingPixels : state->current().pixels, once);
        flip(*state);
        EXPECT_EQ(state->current().pixels, pixels) << "round " << round;
        EXPECT_EQ(state->selection.floatingPixels, block) << "round " << round;
    }
}

TEST_F(FlipFixture, HangingFloatingBlockIsFlippedWholeAndWithoutASnapshot)
{
    const PixelBuffer before = state->current().pixels;
    outline(0, 0, 4, 2);
    press(0, 0);
    drag(22, 0); // columns 22, 23 shown; 24, 25 hidden
    EXPECT_EQ(px(23, 0), original(1, 0));
    flipHorizontal(*state);
    EXPECT_EQ(state->undo.top, 0);
    EXPECT_EQ(state->selection.selectionRect, (Rect{22, 0, 26, 2}));
    EXPECT_EQ(px(22, 0), original(3, 0)); // the hidden part comes into view
    EXPECT_EQ(px(23, 0), original(2, 0));
    for (int y = 0; y < kBufferHeight; ++y)
        for (int x = W; x < kBufferWidth; ++x) ASSERT_EQ(px(x, y), original(x, y));
    undo(*state);
    EXPECT_EQ(state->current().pixels, before);
}

TEST_F(FlipFixture, TransparentFloatingBlockKeepsTheSpriteUnderIt)
{
    // The block's left column is the key colour 9, its right column is not.
    px(0, 0) = 9;
    px(0, 1) = 9;
    outline(0, 0, 2, 2);
    setTransparentSelection(*state, true);
    press(0, 0);
    drag(10, 5);
    flipHorizontal(*state);
    // The key column is now on the right: the sprite shows there.
    EXPECT_EQ(px(11, 5), original(11, 5));
    EXPECT_EQ(px(11, 6), original(11, 6));
    EXPECT_EQ(px(10, 5), original(1, 0));
    EXPECT_EQ(px(10, 6), original(1, 1));
    commitSelection(*state);
    EXPECT_EQ(px(11, 5), original(11, 5));
}

TEST_F(FlipFixture, NothingHappensWithoutASprite)
{
    state->currentSprite = -1;
    flipHorizontal(*state);
    flipVertical(*state);
    EXPECT_EQ(state->undo.top, -1);
}

} // namespace
} // namespace tessel

#include <gtest/gtest.h>

#include "editor/sprite_selection.h"
#include "selection/selection.h"
#include "selection/selection_test_fixture.h"
#include "tools/undo.h"

namespace tessel {
namespace {

TEST_F(SelectionFixture, RubberBandIsClampedInvertedWhileHeldAndNormalisedOnRelease)
{
    press(10, 8);
    EXPECT_EQ(state->selection.selectionRect, (Rect{10, 8, 10, 8}));
    EXPECT_TRUE(state->selection.selectionRect.isEmpty());
    drag(3, 2); // up and left: inverted, counts as empty until released
    EXPECT_EQ(state->selection.selectionRect, (Rect{10, 8, 3, 2}));
    EXPECT_TRUE(state->selection.selectionRect.isEmpty());
    drag(40, 30); // beyond the right and bottom edges: stops at W and H
    EXPECT_EQ(state->selection.selectionRect, (Rect{10, 8, W, H}));
    drag(-5, -5); // beyond the left and top edges: stops at 0
    EXPECT_EQ(state->selection.selectionRect, (Rect{10, 8, 0, 0}));
    release();
    EXPECT_EQ(state->selection.selectionRect, (Rect{0, 0, 10, 8}));
    EXPECT_FALSE(state->selection.selectionFloating);
    EXPECT_EQ(state->undo.top, -1); // outlining takes no snapshot
}

TEST_F(SelectionFixture, ClickWithoutDragLeavesNoSelection)
{
    press(5, 5);
    release();
    EXPECT_TRUE(state->selection.selectionRect.isEmpty());
    press(5, 5); // the zero-size rectangle has no inside: banding again
    EXPECT_FALSE(state->selection.selectionFloating);
    EXPECT_EQ(state->undo.top, -1);
}

TEST_F(SelectionFixture, LiftMoveAndDropFollowTheStateMachine)
{
    outline(4, 2, 10, 7);
    const PixelBuffer before = state->current().pixels;

    // First press inside: one snapshot, the block floats, nothing visible changes.
    press(6, 4);
    EXPECT_TRUE(state->selection.selectionFloating);
    EXPECT_EQ(state->undo.top, 0);
    EXPECT_EQ(state->undo.levels[0], before);
    EXPECT_EQ(state->current().pixels, before);
    EXPECT_EQ(state->gesture.dragOffset, (Point{2, 2}));
    for (int y = 2; y < 7; ++y)
        for (int x = 4; x < 10; ++x) {
            EXPECT_EQ(state->gesture.backupPixels[y * 64 + x], 9); // the hole
            EXPECT_EQ(state->selection.floatingPixels[(y - 2) * 64 + x - 4], original(x, y));
        }

    // Dragging by (+8, +5) leaves the hole in backgroundIndex.
    drag(14, 9);
    EXPECT_EQ(state->selection.selectionRect, (Rect{12, 7, 18, 12}));
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const bool inBlock = x >= 12 && x < 18 && y >= 7 && y < 12;
            const bool inHole = x >= 4 && x < 10 && y >= 2 && y < 7;
            const std::uint8_t want = inBlock ? original(x - 8, y - 5) : inHole ? 9 : original(x, y);
            ASSERT_EQ(px(x, y), want) << x << "," << y;
        }
    release();
    EXPECT_EQ(state->selection.selectionRect, (Rect{12, 7, 18, 12})); // a floating rect is left as it is

    // Pressing the floating block again only records a new offset.
    press(12, 7);
    EXPECT_EQ(state->undo.top, 0);
    EXPECT_EQ(state->gesture.dragOffset, (Point{0, 0}));
    release();

    // A press outside drops the block where it stands and starts banding.
    const PixelBuffer composite = state->current().pixels;
    press(1, 1);
    EXPECT_FALSE(state->selection.selectionFloating);
    EXPECT_EQ(state->selection.selectionRect, (Rect{1, 1, 1, 1}));
    EXPECT_EQ(state->current().pixels, composite);
    release();
}

TEST_F(SelectionFixture, BlockDraggedOffTheEdgeAndBackReappearsUnchanged)
{
    outline(2, 3, 8, 9);
    const PixelBuffer before = state->current().pixels;
    press(2, 3);
    for (Point p : {Point{20, 3}, Point{30, 12}, Point{-4, -5}, Point{-40, 50}}) {
        drag(p.x, p.y);
        // Nothing lands beyond the sprite: outside W x H the store is untouched.
        for (int y = 0; y < kBufferHeight; ++y)
            for (int x = 0; x < kBufferWidth; ++x)
                if (x >= W || y >= H) {
                    ASSERT_EQ(px(x, y), original(x, y)) << x << "," << y;
                }
    }
    drag(2, 3);
    EXPECT_EQ(state->current().pixels, before);
    drag(20, 3); // hangs 2 columns over the right edge
    EXPECT_EQ(px(23, 3), original(5, 3));
    EXPECT_EQ(px(19, 3), original(19, 3));
    EXPECT_EQ(px(3, 3), 9);
}

TEST_F(SelectionFixture, TransparentBoxRecompositesTheFloatingBlockAtOnce)
{
    px(4, 4) = 0x39; // low bits 9: the key colour, whatever the high bits say
    px(5, 4) = 0x03;
    outline(4, 4, 6, 5);
    press(4, 4);
    drag(10, 10);
    EXPECT_EQ(px(10, 10), 0x39);
    setTransparentSelection(*state, true);
    EXPECT_EQ(px(10, 10), original(10, 10)); // the background shows through
    EXPECT_EQ(px(11, 10), 0x03);
    EXPECT_EQ(state->selection.selectionRect, (Rect{10, 10, 12, 11})); // it did not move
    setTransparentSelection(*state, false);
    EXPECT_EQ(px(10, 10), 0x39);

    // Dropped on its own place with the box on, the hole shows where the
    // block is transparent.
    setTransparentSelection(*state, true);
    drag(4, 4);
    EXPECT_EQ(px(4, 4), 9);
    EXPECT_EQ(px(5, 4), 0x03);
}

TEST_F(SelectionFixture, DoubleClickInsideDropsTheBlockAndTheOutline)
{
    outline(4, 4, 8, 8);
    press(5, 5);
    drag(9, 9);
    release();
    const PixelBuffer composite = state->current().pixels;
    state->gesture.lastMousePos = client(1, 1);
    selectionDoubleClick(*state); // outside: nothing happens
    EXPECT_TRUE(state->selection.selectionFloating);
    state->gesture.lastMousePos = client(9, 9);
    selectionDoubleClick(*state);
    EXPECT_FALSE(state->selection.selectionFloating);
    EXPECT_EQ(state->selection.selectionRect, Rect{});
    EXPECT_EQ(state->current().pixels, composite);
}

TEST_F(SelectionFixture, InsideTestUsesThePointerWithoutTheMargin)
{
    outline(2, 2, 6, 6);
    // Client (8, 8) is sprite pixel (1, 1), outside, but 8 / 4 = 2 is inside.
    state->gesture.lastMousePos = {8, 8};
    selectionPress(*state, {8, 8});
    EXPECT_TRUE(state->selection.selectionFloating);
    EXPECT_EQ(state->gesture.dragOffset, (Point{-1, -1}));
}

TEST_F(SelectionFixture, CommitWithoutAFloatingBlockStampsNothing)
{
    // A block left over in floatingPixels from an earlier selection must not
    // reappear when an outlined selection is ended.
    state->selection.floatingPixels.fill(0x0E);
    state->selection.selectionRect = {0, 0, 8, 8};
    const PixelBuffer before = state->current().pixels;
    commitSelection(*state);
    EXPECT_EQ(state->current().pixels, before);
}

TEST_F(SelectionFixture, UndoAfterALiftLeavesNoBlockBehind)
{
    const PixelBuffer before = state->current().pixels;
    outline(3, 3, 9, 9);
    press(4, 4);
    drag(12, 10);
    undo(*state);
    EXPECT_EQ(state->current().pixels, before);
    EXPECT_FALSE(state->selection.selectionFloating);
    setTransparentSelection(*state, true);
    commitSelection(*state);
    EXPECT_EQ(state->current().pixels, before);
}

TEST_F(SelectionFixture, SwitchingSpritesEndsTheSelectionAndKeepsTheComposite)
{
    makeSprite(4, 1, 1);
    const PixelBuffer before = state->current().pixels;
    outline(2, 2, 8, 8);
    press(3, 3); // lifted and put down again without a move
    release();
    selectSprite(*state, 4);
    EXPECT_EQ(state->document.spriteStore[3].pixels, before);
    EXPECT_EQ(state->selection.selectionRect, Rect{});
    EXPECT_FALSE(state->selection.selectionFloating);

    selectSprite(*state, 3);
    outline(2, 2, 8, 8);
    press(3, 3);
    drag(13, 3);
    const PixelBuffer composite = state->current().pixels;
    selectSprite(*state, 4);
    EXPECT_EQ(state->document.spriteStore[3].pixels, composite);
    selectSprite(*state, 3);
    EXPECT_EQ(state->selection.selectionRect, Rect{});
    EXPECT_FALSE(state->selection.selectionFloating);
    EXPECT_EQ(state->current().pixels, composite);
}

TEST_F(SelectionFixture, NothingHappensWithoutASprite)
{
    outline(3, 3, 9, 9);
    state->currentSprite = -1;
    state->selection.selectionRect.setEmpty();
    press(4, 4);
    drag(8, 8);
    release();
    EXPECT_EQ(state->selection.selectionRect, Rect{});
    EXPECT_FALSE(state->selection.selectionFloating);
    state->selection.selectionRect = {0, 0, 4, 4};
    liftSelection(*state, false);
    EXPECT_FALSE(state->selection.selectionFloating);
}

} // namespace
} // namespace tessel

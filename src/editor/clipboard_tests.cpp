#include <gtest/gtest.h>

#include "editor/sprite_selection.h"
#include "selection/clipboard.h"
#include "selection/selection_test_fixture.h"
#include "tools/undo.h"

namespace tessel {
namespace {

using ClipboardFixture = SelectionFixture;

TEST_F(ClipboardFixture, WholeSpriteCopyPastesIntoASameSizeSpriteExactly)
{
    const PixelBuffer source = state->current().pixels;
    press(5, 5); // a click without a drag is no selection
    release();
    copySelection(*state);
    EXPECT_TRUE(state->window.commands.isEnabled(ids::Paste));
    EXPECT_EQ(state->clipboard.clipboardRect, Rect{});
    EXPECT_EQ(state->current().pixels, source); // Copy changes nothing

    makeSprite(7, W / 8, H / 8);
    selectSprite(*state, 7);
    pasteClipboard(*state);
    EXPECT_EQ(state->current().pixels, source); // all 5120 bytes, beyond W x H too
    EXPECT_EQ(state->tools.currentTool, ToolId::Select);
    EXPECT_EQ(state->selection.selectionRect, Rect{});
    EXPECT_FALSE(state->selection.selectionFloating);
    EXPECT_EQ(state->undo.top, 0);
}

TEST_F(ClipboardFixture, CopyDuringBandingTakesTheWholeSprite)
{
    press(10, 8);
    drag(3, 2); // inverted while held
    copySelection(*state);
    EXPECT_EQ(state->clipboard.clipboardRect, Rect{});
    EXPECT_EQ(state->clipboard.clipboardPixels, state->current().pixels);
}

TEST_F(ClipboardFixture, PastedBlockFloatsAtTheTopLeftAndCanBeDraggedAway)
{
    outline(6, 4, 16, 10); // 10 x 6
    copySelection(*state);
    EXPECT_EQ(state->clipboard.clipboardRect, (Rect{0, 0, 10, 6}));
    const PixelBuffer before = state->current().pixels;
    pasteClipboard(*state);
    EXPECT_TRUE(state->selection.selectionFloating);
    EXPECT_EQ(state->selection.selectionRect, (Rect{0, 0, 10, 6}));
    EXPECT_EQ(state->undo.top, 0); // one snapshot
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const bool inBlock = x < 10 && y < 6;
            ASSERT_EQ(px(x, y), inBlock ? original(x + 6, y + 4) : original(x, y)) << x << "," << y;
        }
    press(0, 0);
    drag(12, 9);
    release();
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 12; ++x) ASSERT_EQ(px(x, y), before[y * 64 + x]) << x << "," << y;
    EXPECT_EQ(px(12, 9), original(6, 4));
}

TEST_F(ClipboardFixture, BlockLargerThanTheTargetShowsOnlyItsVisiblePart)
{
    makeSprite(18, 8, 10); // 64 x 80
    selectSprite(*state, 18);
    outline(0, 0, 40, 20);
    copySelection(*state);
    const PixelBuffer big = state->current().pixels;

    selectSprite(*state, 3); // 24 x 16
    const PixelBuffer before = state->current().pixels;
    pasteClipboard(*state);
    EXPECT_EQ(state->selection.selectionRect, (Rect{0, 0, 40, 20}));
    for (int y = 0; y < kBufferHeight; ++y)
        for (int x = 0; x < kBufferWidth; ++x) {
            const bool shown = x < W && y < H;
            ASSERT_EQ(px(x, y), shown ? big[y * 64 + x] : before[y * 64 + x]) << x << "," << y;
        }
    // Dragged up and left by (30, 10), the block's far corner comes into view.
    press(5, 5);
    drag(-25, -5);
    EXPECT_EQ(px(9, 9), big[19 * 64 + 39]);
}

TEST_F(ClipboardFixture, CutOfAnOutlinedBlockIsUndoneByOneUndo)
{
    const PixelBuffer before = state->current().pixels;
    outline(4, 2, 10, 7);
    cutSelection(*state);
    EXPECT_EQ(state->selection.selectionRect, Rect{});
    EXPECT_TRUE(state->window.commands.isEnabled(ids::Paste));
    for (int y = 0; y < kBufferHeight; ++y)
        for (int x = 0; x < kBufferWidth; ++x) {
            const bool cut = x >= 4 && x < 10 && y >= 2 && y < 7;
            ASSERT_EQ(px(x, y), cut ? 9 : original(x, y)) << x << "," << y;
        }
    EXPECT_EQ(state->clipboard.clipboardPixels[0], original(4, 2));
    EXPECT_EQ(state->clipboard.clipboardPixels[4 * 64 + 5], original(9, 6));
    undo(*state);
    EXPECT_EQ(state->current().pixels, before);
}

TEST_F(ClipboardFixture, CutAndDeleteWithoutSelectionClearTheWholeStore)
{
    cutSelection(*state);
    for (std::uint8_t v : state->current().pixels) ASSERT_EQ(v, 9);
    EXPECT_EQ(state->undo.top, 1); // two snapshots of the same image
    EXPECT_EQ(state->undo.levels[0], state->undo.levels[1]);
    state->tools.backgroundIndex = 4;
    deleteSelection(*state);
    for (std::uint8_t v : state->current().pixels) ASSERT_EQ(v, 4);
}

TEST_F(ClipboardFixture, DeleteOfAFreshlyPastedBlockRestoresTheSprite)
{
    outline(6, 4, 16, 10);
    copySelection(*state);
    outline(1, 1, 3, 3); // a new rectangle: Paste must end it first
    const PixelBuffer before = state->current().pixels;
    pasteClipboard(*state);
    ASSERT_NE(state->current().pixels, before);
    deleteSelection(*state);
    EXPECT_EQ(state->current().pixels, before);
    EXPECT_EQ(state->selection.selectionRect, Rect{});
    EXPECT_FALSE(state->selection.selectionFloating);
    EXPECT_EQ(state->undo.top, 0); // only the paste's snapshot
}

TEST_F(ClipboardFixture, DeleteOfAMovedBlockLeavesTheHoleAndTakesNoSnapshot)
{
    const PixelBuffer before = state->current().pixels;
    outline(2, 2, 6, 6);
    press(3, 3);
    drag(13, 8);
    deleteSelection(*state);
    EXPECT_EQ(state->undo.top, 0);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const bool hole = x >= 2 && x < 6 && y >= 2 && y < 6;
            ASSERT_EQ(px(x, y), hole ? 9 : original(x, y)) << x << "," << y;
        }
    undo(*state);
    EXPECT_EQ(state->current().pixels, before);
}

TEST_F(ClipboardFixture, PasteDropsAFloatingBlockWhereItStands)
{
    outline(0, 0, 2, 2);
    copySelection(*state);
    outline(10, 10, 14, 12);
    press(10, 10);
    drag(15, 12);
    const PixelBuffer composite = state->current().pixels;
    pasteClipboard(*state);
    EXPECT_EQ(state->selection.selectionRect, (Rect{0, 0, 2, 2}));
    for (int y = 2; y < H; ++y)
        for (int x = 0; x < W; ++x) ASSERT_EQ(px(x, y), composite[y * 64 + x]) << x << "," << y;
}

TEST_F(ClipboardFixture, TransparentPasteLetsTheSpriteShowThrough)
{
    state->clipboard.clipboardPixels[0] = 0x19; // index 9: transparent
    state->clipboard.clipboardPixels[1] = 0x05;
    state->clipboard.clipboardRect = {0, 0, 2, 1};
    setTransparentSelection(*state, true);
    pasteClipboard(*state);
    EXPECT_EQ(px(0, 0), original(0, 0));
    EXPECT_EQ(px(1, 0), 0x05);
}

TEST_F(ClipboardFixture, CopyOfAHangingBlockTakesItsHiddenPart)
{
    outline(0, 0, 6, 4);
    press(1, 1);
    drag(20, 14); // the block now covers (19, 13)-(25, 17): 1 x 3 of it hidden
    copySelection(*state);
    EXPECT_EQ(state->clipboard.clipboardRect, (Rect{0, 0, 6, 4}));
    EXPECT_EQ(state->clipboard.clipboardPixels[3 * 64 + 5], original(5, 3));
    EXPECT_TRUE(state->selection.selectionFloating); // Copy leaves the selection alone
}

} // namespace
} // namespace tessel

#include "editor/tools_test_fixture.h"
#include "tools/undo.h"

namespace tessel {
namespace {

using Mouse = ToolsFixture;

TEST_F(Mouse, ClientPointsTruncateTowardZero)
{
    const PixelBuffer before = state->current().pixels;
    onLeftButtonDown(*state, {3, 10}); // (3 - 2) / 4 = 0, (10 - 2) / 4 = 2
    EXPECT_EQ(px(0, 2), 4);
    onMouseMove(*state, {-1, 14}); // (-1 - 2) / 4 = 0 as well: column 0, row 3
    EXPECT_EQ(px(0, 3), 4);
    PixelBuffer expected = before;
    expected[2 * 64] = expected[3 * 64] = 4;
    onMouseMove(*state, {-2, 18}); // column -1: nothing
    onMouseMove(*state, {5, -3});  // row -1: nothing
    EXPECT_EQ(state->current().pixels, expected);
}

TEST_F(Mouse, PencilNeverWritesPastTheSpriteEdges)
{
    const PixelBuffer before = state->current().pixels;
    onLeftButtonDown(*state, client(W - 1, H - 1));
    // Every client point from the last pixel to 12 pixels past the right and
    // bottom edges, with both buttons.
    for (int d = 0; d < 12; ++d) {
        onMouseMove(*state, {2 + 4 * W + d, 2 + 4 * (H - 1)});
        onMouseMove(*state, {2 + 4 * (W - 1), 2 + 4 * H + d});
    }
    onLeftButtonUp(*state);
    onRightButtonDown(*state, {2 + 4 * W + 3, 2 + 4 * H + 3});
    onMouseMove(*state, {2 + 4 * W, 6});
    onRightButtonUp(*state);
    PixelBuffer expected = before;
    expected[(H - 1) * 64 + W - 1] = 4;
    EXPECT_EQ(state->current().pixels, expected);
}

TEST_F(Mouse, LeftPressOffTheCanvasOnlyHidesTheBrowser)
{
    const PixelBuffer before = state->current().pixels;
    for (Point p : {Point{1, 10}, Point{10, 1}, Point{2 + 4 * W, 10}, Point{10, 2 + 4 * H}}) {
        onLeftButtonDown(*state, p);
        onLeftButtonUp(*state);
    }
    EXPECT_EQ(view.browserHides, 4);
    EXPECT_EQ(undoLevels(), 0);
    EXPECT_FALSE(state->window.commands.isEnabled(ids::Undo));
    EXPECT_EQ(state->current().pixels, before);
    onLeftButtonDown(*state, {2, 2}); // the canvas's top-left client pixel
    EXPECT_EQ(view.browserHides, 5);
    EXPECT_EQ(px(0, 0), 4);
}

TEST_F(Mouse, PressAndReleaseWithoutMovementChangesNothingButEnablesUndo)
{
    const PixelBuffer before = state->current().pixels;
    for (ToolId tool : {ToolId::Line, ToolId::Rectangle, ToolId::Ellipse, ToolId::RoundedRectangle,
                        ToolId::ColourPicker}) {
        state->tools.currentTool = tool;
        resetUndo(*state);
        onLeftButtonDown(*state, client(5, 5));
        onLeftButtonUp(*state);
        EXPECT_TRUE(state->window.commands.isEnabled(ids::Undo)) << int(tool);
        EXPECT_EQ(state->current().pixels, before) << int(tool);
        undo(*state);
        EXPECT_EQ(state->current().pixels, before) << int(tool);
        EXPECT_FALSE(state->window.commands.isEnabled(ids::Undo));
    }
}

TEST_F(Mouse, ThreeUndosAfterFourEditsThenGrayed)
{
    const PixelBuffer s0 = state->current().pixels;
    std::vector<PixelBuffer> states{s0};
    for (int i = 0; i < 4; ++i) {
        onLeftButtonDown(*state, client(i, i));
        onLeftButtonUp(*state);
        states.push_back(state->current().pixels);
    }
    for (int i = 3; i >= 1; --i) {
        ASSERT_TRUE(state->window.commands.isEnabled(ids::Undo));
        undo(*state);
        EXPECT_EQ(state->current().pixels, states[i]);
    }
    EXPECT_FALSE(state->window.commands.isEnabled(ids::Undo));
    undo(*state);
    EXPECT_EQ(state->current().pixels, states[1]); // S0 is out of reach
}

TEST_F(Mouse, RightPressAnywhereTakesASnapshotWithEveryTool)
{
    for (int t = 0; t <= 7; ++t) {
        state->tools.currentTool = static_cast<ToolId>(t);
        resetUndo(*state);
        onRightButtonDown(*state, {-500, 900}); // far outside the window's canvas
        onRightButtonUp(*state);
        EXPECT_EQ(undoLevels(), 1) << t;
        EXPECT_EQ(state->current().pixels, originalPixels()) << t;
    }
    // With Select the right button does nothing else.
    EXPECT_TRUE(state->selection.selectionRect.isEmpty());
}

TEST_F(Mouse, DoubleClickWithThePencilDrawsOnceAndSnapshotsOnce)
{
    // The platform delivers press, release, double click, release.
    onLeftButtonDown(*state, client(3, 4));
    onLeftButtonUp(*state);
    onLeftButtonDoubleClick(*state, client(3, 4));
    onLeftButtonUp(*state);
    EXPECT_EQ(px(3, 4), 4);
    EXPECT_EQ(undoLevels(), 1);
    undo(*state);
    EXPECT_EQ(state->current().pixels, originalPixels());
}

TEST_F(Mouse, ButtonsTakeOverEachOther)
{
    onLeftButtonDown(*state, client(1, 1));
    onRightButtonDown(*state, client(2, 1)); // clears leftDragging, new snapshot
    EXPECT_FALSE(state->gesture.leftDragging);
    EXPECT_TRUE(state->gesture.rightDragging);
    onMouseMove(*state, client(3, 1));
    EXPECT_EQ(px(2, 1), 11);
    EXPECT_EQ(px(3, 1), 11);
    EXPECT_EQ(undoLevels(), 2);
    onLeftButtonDown(*state, client(4, 1));
    EXPECT_FALSE(state->gesture.rightDragging);
    onMouseMove(*state, client(5, 1));
    EXPECT_EQ(px(5, 1), 4);
}

TEST_F(Mouse, AButtonHeldSinceAnotherToolsPressDrawsNoStaleFigure)
{
    // A finished line leaves its backup behind.
    state->tools.currentTool = ToolId::Line;
    leftDrag(client(0, 0), client(10, 0));
    const PixelBuffer afterLine = state->current().pixels;
    // Shift makes the picker current; the press picks; Shift comes up with
    // the button still held and the line tool returns; the pointer moves.
    state->tools.currentTool = ToolId::ColourPicker;
    onLeftButtonDown(*state, client(5, 5));
    state->tools.currentTool = ToolId::Line;
    onMouseMove(*state, client(9, 9));
    EXPECT_EQ(state->current().pixels, afterLine);
    onLeftButtonUp(*state);
    // A figure drag that Shift interrupts carries on from its own backup.
    onLeftButtonDown(*state, client(0, 2));
    const auto pen = static_cast<std::uint8_t>(state->tools.foregroundIndex); // the press's pen
    state->tools.currentTool = ToolId::ColourPicker;
    onMouseMove(*state, client(3, 2));
    state->tools.currentTool = ToolId::Line;
    onMouseMove(*state, client(4, 2));
    PixelBuffer expected = afterLine;
    for (int x = 0; x < 4; ++x) expected[2 * 64 + x] = pen;
    EXPECT_EQ(state->current().pixels, expected);
}

TEST_F(Mouse, SelectToolIsHandedToTheSelection)
{
    state->tools.currentTool = ToolId::Select;
    onLeftButtonDown(*state, client(6, 5));
    EXPECT_EQ(undoLevels(), 0); // the selection takes its own snapshots
    onMouseMove(*state, client(2, 3));
    onLeftButtonUp(*state);
    EXPECT_EQ(state->selection.selectionRect, (Rect{2, 3, 6, 5})); // normalised at the release
    EXPECT_EQ(state->current().pixels, originalPixels());
}

TEST_F(Mouse, WithoutASpriteOrARomNothingIsTouched)
{
    for (bool closeRom : {false, true}) {
        SetUp();
        if (closeRom)
            state->document.romFile.close();
        else
            state->currentSprite = -1;
        for (int t = 0; t <= 7; ++t) {
            state->tools.currentTool = static_cast<ToolId>(t);
            leftDrag({10, 10}, {40, 30});
            rightDrag({10, 10}, {40, 30});
            onLeftButtonDoubleClick(*state, {10, 10});
        }
        EXPECT_EQ(undoLevels(), 0);
        EXPECT_FALSE(state->window.commands.isEnabled(ids::Undo));
        EXPECT_EQ(state->gesture.lastMousePos, (Point{40, 30}));
        EXPECT_EQ(state->tools.foregroundIndex, 4);
        EXPECT_EQ(state->tools.backgroundIndex, 11);
        EXPECT_EQ(state->document.spriteStore[18].pixels, originalPixels());
    }
}

} // namespace
} // namespace tessel

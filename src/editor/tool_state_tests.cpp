#include <set>

#include "editor/tools_test_fixture.h"
#include "selection/tool_choice.h"
#include "selection/tool_table.h"

namespace tessel {
namespace {

using ToolState = ToolsFixture;

TEST_F(ToolState, SelectingAToolStampsTheFloatingBlockAndEndsTheSelection)
{
    state->selection.selectionRect = {2, 2, 4, 3};
    state->selection.selectionFloating = true;
    state->selection.floatingPixels[0] = 13;
    state->selection.floatingPixels[1] = 14;
    selectTool(*state, ToolId::Select);
    EXPECT_EQ(state->tools.currentTool, ToolId::Select);
    EXPECT_EQ(px(2, 2), 13);
    EXPECT_EQ(px(3, 2), 14);
    EXPECT_FALSE(state->selection.selectionFloating);
    EXPECT_EQ(state->selection.selectionRect, Rect{});
    EXPECT_EQ(view.toolChanges, 1);
    // An outlined selection ends too, with the same tool chosen again.
    state->selection.selectionRect = {1, 1, 5, 5};
    selectTool(*state, ToolId::Select);
    EXPECT_TRUE(state->selection.selectionRect.isEmpty());
    // A value that is no tool changes nothing.
    selectTool(*state, static_cast<ToolId>(8));
    EXPECT_EQ(state->tools.currentTool, ToolId::Select);
    EXPECT_EQ(view.toolChanges, 2);
}

TEST_F(ToolState, EndingASelectionTakesItsOutlineOffTheCanvas)
{
    // Without a repaint the old outline would stay on screen and suggest a
    // selection that Delete or a flip no longer acts on.
    selectTool(*state, ToolId::Line);
    EXPECT_EQ(view.repaints, 0) << "nothing outlined, nothing to repaint";
    state->selection.selectionRect = {5, 6, 2, 3}; // inverted while banding, outlined all the same
    selectTool(*state, ToolId::Pencil);
    EXPECT_EQ(view.repaints, 1);
    state->selection.selectionRect = {1, 1, 4, 4};
    state->selection.selectionFloating = true;
    selectTool(*state, ToolId::Select);
    EXPECT_EQ(view.repaints, 2);
    EXPECT_EQ(state->selection.selectionRect, Rect{});
}

TEST_F(ToolState, CursorOverTheSpriteUsesStrictBoundsOnTheLastPosition)
{
    const int right = W * 4 + 2, bottom = H * 4 + 2;
    const auto at = [&](int x, int y) {
        state->gesture.lastMousePos = {x, y};
        return cursorFor(*state);
    };
    EXPECT_EQ(at(1, 1), ids::PencilCursor); // before the canvas's first pixel
    EXPECT_EQ(at(0, 10), ids::ArrowCursor);
    EXPECT_EQ(at(10, 0), ids::ArrowCursor);
    EXPECT_EQ(at(right - 1, bottom - 1), ids::PencilCursor);
    EXPECT_EQ(at(right, 10), ids::ArrowCursor);
    EXPECT_EQ(at(10, bottom), ids::ArrowCursor);
    const std::pair<ToolId, int> cursors[] = {{ToolId::FloodFill, ids::FloodFillCursor},
                                              {ToolId::Line, ids::CrossHairCursor},
                                              {ToolId::Rectangle, ids::CrossHairCursor},
                                              {ToolId::Ellipse, ids::CrossHairCursor},
                                              {ToolId::RoundedRectangle, ids::CrossHairCursor},
                                              {ToolId::ColourPicker, ids::ColourPickerCursor},
                                              {ToolId::Select, ids::CrossHairCursor}};
    for (auto [tool, cursor] : cursors) {
        state->tools.currentTool = tool;
        EXPECT_EQ(at(10, 10), cursor) << int(tool);
    }
    // The selection's own test divides without taking off the margin: the
    // arrow area is the drawn selection shifted 2 pixels up and left.
    state->selection.selectionRect = {2, 2, 5, 5};
    EXPECT_EQ(at(8, 8), ids::MoveCursor);
    EXPECT_EQ(at(7, 10), ids::CrossHairCursor);
    EXPECT_EQ(at(19, 19), ids::MoveCursor);
    EXPECT_EQ(at(20, 19), ids::CrossHairCursor);
    state->document.romFile.close();
    EXPECT_EQ(at(10, 10), ids::ArrowCursor);
}

TEST_F(ToolState, EachToolHasItsOwnButton)
{
    std::set<int> ids;
    for (int t = 0; t <= 7; ++t) {
        const auto tool = static_cast<ToolId>(t);
        ToolId back = ToolId::Pencil;
        ASSERT_TRUE(toolOfButton(buttonIdOf(tool), back)) << t;
        EXPECT_EQ(back, tool);
        ids.insert(buttonIdOf(tool));
    }
    EXPECT_EQ(ids.size(), 8u);
    EXPECT_EQ(buttonIdOf(ToolId::RoundedRectangle), ids::RoundRectButton);
    ToolId untouched = ToolId::Line;
    EXPECT_FALSE(toolOfButton(ids::LineSizeEdit, untouched));
    EXPECT_EQ(untouched, ToolId::Line);
}

} // namespace
} // namespace tessel

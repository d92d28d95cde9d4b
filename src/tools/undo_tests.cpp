#include <gtest/gtest.h>

#include <memory>

#include "tools/undo.h"

namespace tessel {
namespace {

struct UndoFixture : ::testing::Test {
    std::unique_ptr<EditorState> state = std::make_unique<EditorState>();
    void SetUp() override
    {
        state->document.spriteStore[0].widthTiles = 2;
        state->document.spriteStore[0].heightTiles = 2;
    }
    void edit(std::uint8_t value)
    {
        pushUndoSnapshot(*state);
        state->current().pixels[0] = value;
    }
};

TEST_F(UndoFixture, KeepsThreeLevelsAndThenGraysTheItem)
{
    // S0 = 0, four edits give S1..S4; three undos reach S1 and no further.
    for (std::uint8_t v = 1; v <= 4; ++v) edit(v);
    EXPECT_TRUE(state->window.commands.isEnabled(ids::Undo));
    undo(*state);
    EXPECT_EQ(state->current().pixels[0], 3);
    undo(*state);
    EXPECT_EQ(state->current().pixels[0], 2);
    undo(*state);
    EXPECT_EQ(state->current().pixels[0], 1);
    EXPECT_FALSE(state->window.commands.isEnabled(ids::Undo));
    undo(*state); // an empty stack does nothing
    EXPECT_EQ(state->current().pixels[0], 1);
}

TEST_F(UndoFixture, ResetEmptiesTheHistory)
{
    edit(7);
    resetUndo(*state);
    EXPECT_FALSE(state->window.commands.isEnabled(ids::Undo));
    undo(*state);
    EXPECT_EQ(state->current().pixels[0], 7);
}

TEST_F(UndoFixture, UndoWithSelectToolDropsTheFloatingBlock)
{
    state->tools.currentTool = ToolId::Select;
    edit(5);
    state->selection.selectionRect = {0, 0, 4, 4};
    state->selection.selectionFloating = true;
    undo(*state);
    EXPECT_TRUE(state->selection.selectionRect.isEmpty());
    EXPECT_FALSE(state->selection.selectionFloating);
    EXPECT_EQ(state->current().pixels[0], 0);
}

TEST_F(UndoFixture, RedoTakesBackTheUndosUntilANewEdit)
{
    for (std::uint8_t v = 1; v <= 3; ++v) edit(v);
    EXPECT_FALSE(state->window.commands.isEnabled(ids::Redo));
    undo(*state);
    undo(*state);
    ASSERT_EQ(state->current().pixels[0], 1);
    redo(*state);
    EXPECT_EQ(state->current().pixels[0], 2);
    redo(*state);
    EXPECT_EQ(state->current().pixels[0], 3);
    EXPECT_FALSE(state->window.commands.isEnabled(ids::Redo));
    // What a redo gave back is undone again; a new edit then ends Redo.
    undo(*state);
    EXPECT_EQ(state->current().pixels[0], 2);
    EXPECT_TRUE(state->window.commands.isEnabled(ids::Redo));
    edit(9);
    EXPECT_FALSE(state->window.commands.isEnabled(ids::Redo));
    redo(*state);
    EXPECT_EQ(state->current().pixels[0], 9);
    undo(*state);
    EXPECT_EQ(state->current().pixels[0], 2);
}

TEST_F(UndoFixture, RedoIsEmptiedWithTheUndoStack)
{
    edit(4);
    undo(*state);
    ASSERT_TRUE(state->window.commands.isEnabled(ids::Redo));
    resetUndo(*state);
    EXPECT_FALSE(state->window.commands.isEnabled(ids::Redo));
    redo(*state);
    EXPECT_EQ(state->current().pixels[0], 0);
}

} // namespace
} // namespace tessel

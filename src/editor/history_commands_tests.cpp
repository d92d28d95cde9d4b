#include <string>
#include <vector>

#include "editor/history_commands.h"
#include "editor/rom_commands.h"
#include "editor/sprite_selection.h"
#include "editor/tools_test_fixture.h"
#include "model/edit_marks.h"
#include "selection/flip.h"
#include "tools/undo.h"

namespace tessel {
namespace {

struct History : ToolsFixture {
    std::vector<std::string> causes()
    {
        std::vector<std::string> out;
        for (const JournalState* s : historyStates(*state)) out.emplace_back(causeName(s->cause));
        return out;
    }
    void dot(int x, int y)
    {
        onLeftButtonDown(*state, client(x, y));
        onLeftButtonUp(*state);
    }
};

TEST_F(History, ListsEachEditAfterTheStateAsLoadedAndSurvivesAnotherSprite)
{
    dot(1, 1);
    dot(2, 1);
    flipHorizontal(*state);
    undo(*state); // takes back the flip, which stays in the history
    selectSprite(*state, 19);
    selectSprite(*state, 18); // the undo stack is empty now, the history is not
    EXPECT_EQ(causes(), (std::vector<std::string>{"as loaded", "pencil", "pencil", "horizontal flip"}));
    const auto states = historyStates(*state);
    EXPECT_EQ(states[0]->pixels[1 * W + 1], originalPixels()[1 * 64 + 1]);
    EXPECT_EQ(states[1]->pixels[1 * W + 1], 4);
    EXPECT_EQ(states[1]->pixels[1 * W + 2], originalPixels()[1 * 64 + 2]);
}

TEST_F(History, RestoreIsOneNewEdit)
{
    dot(1, 1);
    dot(2, 1);
    const PixelBuffer afterDots = state->current().pixels;
    clearSpriteEdited(state->document, 18);
    const int repaints = view.repaints;
    const auto states = historyStates(*state);
    ASSERT_TRUE(restoreHistoryState(*state, states[0]->id));
    EXPECT_EQ(state->current().pixels, originalPixels()); // beyond W x H untouched too
    EXPECT_TRUE(isSpriteEdited(state->document, 18));
    EXPECT_GT(view.repaints, repaints);
    EXPECT_EQ(causes().back(), "restore");
    undo(*state);
    EXPECT_EQ(state->current().pixels, afterDots);
    // Another sprite's state is not restored over this one.
    selectSprite(*state, 19);
    EXPECT_FALSE(restoreHistoryState(*state, states[1]->id));
}

TEST_F(History, RefreshKeepsTheHistoryAndEndsRedo)
{
    dot(1, 1);
    undo(*state);
    ASSERT_TRUE(state->window.commands.isEnabled(ids::Redo));
    reloadCurrentSprite(*state); // the stand-in file reads back colour 15 throughout
    EXPECT_FALSE(state->window.commands.isEnabled(ids::Redo));
    EXPECT_EQ(causes(), (std::vector<std::string>{"as loaded", "pencil", "refresh"}));
}

} // namespace
} // namespace tessel

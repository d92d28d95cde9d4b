#include "editor/key_routing.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "model/command_ids.h"

namespace tessel {
namespace {

KeyStroke typed(int character) { return KeyStroke{KeyCode::Other, character, false}; }
KeyStroke deleteKey() { return KeyStroke{KeyCode::Delete, 127, false}; }
KeyStroke shift(bool autoRepeat = false) { return KeyStroke{KeyCode::Shift, 0, autoRepeat}; }

class KeyRoutingTest : public ::testing::Test {
protected:
    std::unique_ptr<EditorState> state = std::make_unique<EditorState>();
    std::vector<int> ran;
    int cursorRefreshes = 0;
    KeyActions actions{[this](int id) { ran.push_back(id); }, [this] { ++cursorRefreshes; }};

    void enableAll()
    {
        for (int id : CommandStates::allCommands) state->window.commands.setEnabled(id, true);
    }
    bool press(const KeyStroke& k, KeyContext c = {}) { return keyPressed(*state, k, c, actions); }
    void release(const KeyStroke& k) { keyReleased(*state, k, actions); }
};

TEST_F(KeyRoutingTest, CharactersNameTheirMenuCommands)
{
    // Ctrl+letter arrives as letter - 'A' + 1.
    struct Case { int character; int command; } cases[] = {
        {'A' - 64, 32774}, {'C' - 64, 57634}, {'L' - 64, 57602}, {'O' - 64, 57601},
        {'S' - 64, 57603}, {'V' - 64, 57637}, {'X' - 64, 57635}, {'Z' - 64, 57643},
        {'P', 32790},      {'i', 32791}, {'I' - 64, 32791}, // Ctrl+I as the menu says
        {'E' - 64, 32830}, {'F' - 64, 32870}, {'G' - 64, 32871},
        // Not routed: lower-case p, upper-case I, Ctrl+B, a digit.
        {'p', 0}, {'I', 0}, {2, 0}, {'1', 0}, {0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(commandForCharacter(c.character), c.command) << "character " << c.character;
        EXPECT_EQ(routedCommand(typed(c.character), {}), c.command) << "character " << c.character;
    }
    EXPECT_EQ(routedCommand(deleteKey(), {}), 32783);
    EXPECT_EQ(routedCommand(shift(), {}), 0);
}

TEST_F(KeyRoutingTest, EnabledCommandRunsOnceAndTheKeyIsConsumed)
{
    state->window.commands.setEnabled(ids::SaveCurrentSprite, true);
    EXPECT_TRUE(press(typed(19)));
    EXPECT_EQ(ran, std::vector<int>{ids::SaveCurrentSprite});
}

TEST_F(KeyRoutingTest, DisabledCommandIsConsumedButDoesNothing)
{
    // A fresh menu has only Open ROM, Exit and About enabled.
    for (int character : {19, 1, 26, 3, int('P'), int('i')}) {
        EXPECT_TRUE(press(typed(character))) << character;
    }
    EXPECT_TRUE(press(deleteKey()));
    EXPECT_TRUE(ran.empty());
    EXPECT_TRUE(sendMenuCommand(state->window.commands, ids::Undo, actions));
    EXPECT_TRUE(ran.empty());
}

TEST_F(KeyRoutingTest, UnroutedKeysPassThrough)
{
    enableAll();
    EXPECT_FALSE(press(typed('a')));
    EXPECT_FALSE(press(typed(2)));
    EXPECT_FALSE(press(KeyStroke{KeyCode::Other, 0, false}));
    EXPECT_TRUE(ran.empty());
}

TEST_F(KeyRoutingTest, TextFieldKeepsTheKeysItUses)
{
    enableAll();
    const KeyContext field{true, false};
    for (int character : {int('i'), int('P'), 1, 3, 22, 24, 26}) {
        EXPECT_FALSE(press(typed(character), field)) << character;
    }
    EXPECT_FALSE(press(deleteKey(), field));
    EXPECT_TRUE(ran.empty());

    // File commands still work from a field.
    EXPECT_TRUE(press(typed(19), field));
    EXPECT_TRUE(press(typed(15), field));
    EXPECT_TRUE(press(typed(12), field));
    EXPECT_EQ(ran, (std::vector<int>{ids::SaveCurrentSprite, ids::OpenRom, ids::CloseRom}));
}

TEST_F(KeyRoutingTest, OpenAndCloseRomAreNotRoutedUnderAModalDialog)
{
    enableAll();
    const KeyContext modal{false, true};
    EXPECT_FALSE(press(typed(15), modal));
    EXPECT_FALSE(press(typed(12), modal));
    EXPECT_TRUE(ran.empty());
    // Everything else still is.
    EXPECT_TRUE(press(typed(19), modal));
    EXPECT_TRUE(press(typed('P'), modal));
    EXPECT_TRUE(press(deleteKey(), modal));
    EXPECT_EQ(ran, (std::vector<int>{ids::SaveCurrentSprite, ids::PaletteEditor, ids::Delete}));
    // In a text field of a modal dialog, both rules hold.
    EXPECT_FALSE(press(typed(12), KeyContext{true, true}));
    EXPECT_EQ(ran.size(), 3u);
}

TEST_F(KeyRoutingTest, ShiftHoldsTheColourPickerAndReturns)
{
    state->tools.currentTool = ToolId::Ellipse;
    EXPECT_FALSE(press(shift())); // Shift itself is never consumed
    EXPECT_EQ(state->tools.currentTool, ToolId::ColourPicker);
    EXPECT_EQ(state->tools.savedTool, ToolId::Ellipse);
    EXPECT_TRUE(state->window.shiftHeld);
    EXPECT_EQ(cursorRefreshes, 1);

    // Auto-repeat (a repeated press, or the release/press pairs some
    // keyboards send) changes nothing, nor does a press delivered twice.
    press(shift(true));
    release(shift(true));
    press(shift(true));
    press(shift());
    EXPECT_EQ(state->tools.currentTool, ToolId::ColourPicker);
    EXPECT_EQ(state->tools.savedTool, ToolId::Ellipse);
    EXPECT_EQ(cursorRefreshes, 1);

    release(shift());
    EXPECT_EQ(state->tools.currentTool, ToolId::Ellipse);
    EXPECT_FALSE(state->window.shiftHeld);
    EXPECT_EQ(cursorRefreshes, 2);
    EXPECT_TRUE(ran.empty());
}

TEST_F(KeyRoutingTest, ShiftDoesNothingOverSelect)
{
    state->tools.currentTool = ToolId::Select;
    state->tools.savedTool = ToolId::Line;
    press(shift());
    EXPECT_EQ(state->tools.currentTool, ToolId::Select);
    EXPECT_EQ(state->tools.savedTool, ToolId::Line);
    EXPECT_TRUE(state->window.shiftHeld);
    release(shift());
    EXPECT_EQ(state->tools.currentTool, ToolId::Select);
    EXPECT_FALSE(state->window.shiftHeld);
    EXPECT_EQ(cursorRefreshes, 0);
}

TEST_F(KeyRoutingTest, SelectChosenDuringTheHoldStays)
{
    state->tools.currentTool = ToolId::Pencil;
    press(shift());
    state->tools.currentTool = ToolId::Select; // the user clicked the Select button
    release(shift());
    EXPECT_EQ(state->tools.currentTool, ToolId::Select);
    EXPECT_FALSE(state->window.shiftHeld);
}

TEST_F(KeyRoutingTest, ReleaseWithoutPressRestoresSavedTool)
{
    // Shift went down while another program had the focus.
    state->tools.currentTool = ToolId::Rectangle;
    release(shift());
    EXPECT_EQ(state->tools.currentTool, ToolId::Pencil); // savedTool starts as the pencil

    state->tools.savedTool = ToolId::FloodFill;
    state->tools.currentTool = ToolId::Line;
    release(shift());
    EXPECT_EQ(state->tools.currentTool, ToolId::FloodFill);
}

TEST_F(KeyRoutingTest, CtrlShiftAHoldsThePickerAndSavesAll)
{
    enableAll();
    state->tools.currentTool = ToolId::Line;
    press(shift());
    EXPECT_TRUE(press(typed(1)));
    EXPECT_EQ(ran, std::vector<int>{ids::SaveAllSprites});
    EXPECT_EQ(state->tools.currentTool, ToolId::ColourPicker);
    release(shift());
    EXPECT_EQ(state->tools.currentTool, ToolId::Line);
}

} // namespace
} // namespace tessel

#include "editor/key_routing.h"

#include "model/command_ids.h"
#include "selection/tool_choice.h"
#include "selection/tool_table.h"

namespace tessel {

namespace {

struct CharacterCommand {
    int character;
    int commandId;
    bool textFieldKey; // a text field uses this key itself
};

// Ctrl+letter arrives as the control character (Ctrl+A = 1 ... Ctrl+Z = 26).
constexpr CharacterCommand kCharacterTable[] = {
    {1, ids::SaveAllSprites, true},     // Ctrl+A (select all in a field)
    {3, ids::Copy, true},               // Ctrl+C
    {5, ids::LargeView, false},         // Ctrl+E
    {6, ids::SpriteOverview, false},    // Ctrl+F
    {7, ids::GoToSprite, false},        // Ctrl+G
    {9, ids::ViewSpriteInfo, false},    // Ctrl+I, as the menu item says
    {12, ids::CloseRom, false},         // Ctrl+L
    {15, ids::OpenRom, false},          // Ctrl+O
    {19, ids::SaveCurrentSprite, false},// Ctrl+S
    {22, ids::Paste, true},             // Ctrl+V
    {24, ids::Cut, true},               // Ctrl+X
    {25, ids::Redo, true},              // Ctrl+Y
    {26, ids::Undo, true},              // Ctrl+Z
    {'P', ids::PaletteEditor, true},    // printable
    {'i', ids::ViewSpriteInfo, true},   // printable
};

const CharacterCommand* entryFor(int character)
{
    for (const CharacterCommand& e : kCharacterTable)
        if (e.character == character) return &e;
    return nullptr;
}

bool changesRom(int commandId) { return commandId == ids::OpenRom || commandId == ids::CloseRom; }

void refresh(const KeyActions& actions)
{
    if (actions.refreshCursor) actions.refreshCursor();
}

} // namespace

int commandForCharacter(int character)
{
    const CharacterCommand* e = entryFor(character);
    return e ? e->commandId : 0;
}

int routedCommand(const KeyStroke& stroke, const KeyContext& context)
{
    int commandId = 0;
    bool textFieldKey = false;
    if (stroke.key == KeyCode::Delete) {
        commandId = ids::Delete;
        textFieldKey = true;
    } else if (const CharacterCommand* e = entryFor(stroke.character)) {
        commandId = e->commandId;
        textFieldKey = e->textFieldKey;
    }
    if (commandId == 0) return 0;
    if (context.menuOpen && stroke.character >= 0x20) return 0;
    if (context.inTextField && textFieldKey) return 0;
    if (context.modalDialogOpen && changesRom(commandId)) return 0;
    return commandId;
}

bool sendMenuCommand(const CommandStates& commands, int commandId, const KeyActions& actions)
{
    if (commands.isEnabled(commandId) && actions.runCommand) actions.runCommand(commandId);
    return true;
}

bool keyPressed(EditorState& state, const KeyStroke& stroke, const KeyContext& context,
                const KeyActions& actions)
{
    if (stroke.key == KeyCode::Shift) {
        // An auto-repeated Shift is already held; shiftPressed() ignores a
        // second press as well, for a press delivered twice.
        if (!stroke.autoRepeat) shiftPressed(state, actions);
        return false;
    }
    const int commandId = routedCommand(stroke, context);
    if (commandId == 0) return false;
    return sendMenuCommand(state.window.commands, commandId, actions);
}

void keyReleased(EditorState& state, const KeyStroke& stroke, const KeyActions& actions)
{
    if (stroke.key == KeyCode::Shift && !stroke.autoRepeat) shiftReleased(state, actions);
}

void shiftPressed(EditorState& state, const KeyActions& actions)
{
    if (state.window.shiftHeld) return;
    state.window.shiftHeld = true;
    if (toolEntry(state.tools.currentTool).staysUnderShift) return;
    state.tools.savedTool = state.tools.currentTool;
    selectTool(state, ToolId::ColourPicker);
    refresh(actions);
}

void shiftReleased(EditorState& state, const KeyActions& actions)
{
    // A release without a press seen by the program (Shift went down in
    // another program) still restores savedTool.
    if (!toolEntry(state.tools.currentTool).staysUnderShift) {
        selectTool(state, state.tools.savedTool);
        refresh(actions);
    }
    state.window.shiftHeld = false;
}

} // namespace tessel

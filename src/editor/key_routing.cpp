#include "editor/key_routing.h"

#include "model/command_ids.h"
#include "selection/tool_choice.h"
#include "selection/tool_table.h"
#include "tools/colours.h"

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

// Single printable keys; they type into a text field and mean nothing to a
// menu, so they act only outside both.
struct ToolKey {
    int character;
    KeyAction action;
    ToolId tool;
    int step;
};

constexpr ToolKey kToolKeyTable[] = {
    {'b', KeyAction::ChooseTool, ToolId::Pencil, 0},
    {'g', KeyAction::ChooseTool, ToolId::FloodFill, 0},
    {'k', KeyAction::ChooseTool, ToolId::ColourPicker, 0},
    {'m', KeyAction::ChooseTool, ToolId::Select, 0},
    {'l', KeyAction::ChooseTool, ToolId::Line, 0},
    {'r', KeyAction::ChooseTool, ToolId::Rectangle, 0},
    {'e', KeyAction::ChooseTool, ToolId::Ellipse, 0},
    {'o', KeyAction::ChooseTool, ToolId::RoundedRectangle, 0},
    {'[', KeyAction::StepForeground, ToolId::Pencil, -1},
    {']', KeyAction::StepForeground, ToolId::Pencil, +1},
    {'{', KeyAction::StepBackground, ToolId::Pencil, -1},
    {'}', KeyAction::StepBackground, ToolId::Pencil, +1},
};

const ToolKey* toolKeyFor(int character)
{
    for (const ToolKey& k : kToolKeyTable)
        if (k.character == character) return &k;
    return nullptr;
}

// How the user presses the key of a character.
std::string keysOf(int character)
{
    if (character >= 1 && character <= 26) return "Ctrl+" + std::string(1, char('A' + character - 1));
    if (character >= 'A' && character <= 'Z') return "Shift+" + std::string(1, char(character));
    if (character >= 'a' && character <= 'z') return std::string(1, char(character - 'a' + 'A'));
    return std::string(1, char(character));
}

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
    if (commandId == 0) return toolKeyPressed(state, stroke, context, actions);
    return sendMenuCommand(state.window.commands, commandId, actions);
}

void keyReleased(EditorState& state, const KeyStroke& stroke, const KeyActions& actions)
{
    if (stroke.key == KeyCode::Shift && !stroke.autoRepeat) shiftReleased(state, actions);
}

bool isToolKey(const KeyStroke& stroke, const KeyContext& context)
{
    return stroke.key == KeyCode::Other && toolKeyFor(stroke.character) && context.editorWindow &&
           !context.inTextField && !context.menuOpen && !context.modalDialogOpen;
}

bool toolKeyPressed(EditorState& state, const KeyStroke& stroke, const KeyContext& context,
                    const KeyActions& actions)
{
    if (!isToolKey(stroke, context)) return false;
    const ToolKey* k = toolKeyFor(stroke.character);
    // A figure or a moved block is under way: its tool and colours stay.
    if (state.gesture.leftDragging || state.gesture.rightDragging) return true;
    switch (k->action) {
    case KeyAction::ChooseTool:
        selectTool(state, k->tool);
        refresh(actions);
        break;
    case KeyAction::StepForeground:
        setIndicatorColour(state, (state.tools.foregroundIndex + k->step + 16) & 15, ColourSlot::Foreground);
        break;
    case KeyAction::StepBackground:
        setIndicatorColour(state, (state.tools.backgroundIndex + k->step + 16) & 15, ColourSlot::Background);
        break;
    default: break;
    }
    return true;
}

std::vector<KeyBinding> keyBindings()
{
    std::vector<KeyBinding> all;
    for (const CharacterCommand& e : kCharacterTable)
        all.push_back({keysOf(e.character), KeyAction::Command, e.commandId});
    all.push_back({"Del", KeyAction::Command, ids::Delete});
    all.push_back({"Shift", KeyAction::HoldColourPicker});
    for (const ToolKey& k : kToolKeyTable) all.push_back({keysOf(k.character), k.action, 0, k.tool, k.step});
    return all;
}

std::string toolKeyText(ToolId tool)
{
    for (const ToolKey& k : kToolKeyTable)
        if (k.action == KeyAction::ChooseTool && k.tool == tool) return keysOf(k.character);
    return {};
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

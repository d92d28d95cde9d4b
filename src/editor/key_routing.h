// Keyboard shortcuts of the editor. Every key press, key release and typed
// character of the program, whichever window it was meant for, is offered
// here first; a routed key is consumed and runs its menu command.
//
// Call flow for one key press: the application's key filter builds a
// KeyStroke and a KeyContext -> keyPressed() (Shift as the temporary colour
// picker, then Delete and the character table through sendMenuCommand()).
// A key release -> keyReleased(). The filter consumes the event when
// keyPressed() returns true. A printable key that routes no command may be
// a tool key (B, G, K, M, L, R, E, O choose a tool; [ ] and { } step the
// foreground and background index), which acts only in an editor window.
// keyBindings() lists every key of these tables, for the window that shows
// them.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "model/editor_state.h"

namespace tessel {

enum class KeyCode { Other, Delete, Shift };

// One key event as routing sees it. `character` is what the key types: the
// control character 1..26 for Ctrl+letter, the letter itself otherwise, 0
// when it types nothing (Alt or Meta held, or a key such as Tab that types a
// control character by itself).
struct KeyStroke {
    KeyCode key = KeyCode::Other;
    int character = 0;
    bool autoRepeat = false;
};

// Where the key is going.
struct KeyContext {
    // An editable text field has the keyboard focus: the keys a text field
    // uses stay with it (typing "i" or "P", Delete, Ctrl+A/C/V/X/Z).
    bool inTextField = false;
    // A modal dialog of the program is open: Open ROM and Close ROM are not
    // routed, so nothing closes or replaces the ROM under a dialog that
    // works on it and no second file dialog opens over the first.
    bool modalDialogOpen = false;
    // A menu or its popup has the keys: what they type is the menu's
    // (mnemonics such as Alt+F, I), so no character shortcut is routed.
    bool menuOpen = false;
    // The key goes to a window that edits the sprite (the main window, the
    // Large View): only there do the tool keys act.
    bool editorWindow = false;
};

// What routing makes the main window do.
struct KeyActions {
    std::function<void(int commandId)> runCommand;
    std::function<void()> refreshCursor; // the pointer shape follows the tool now
};

// The menu command a typed character stands for, or 0.
int commandForCharacter(int character);

// The menu command the key press routes to in this context, or 0 when the
// key is not routed. Shift is never a command.
int routedCommand(const KeyStroke& stroke, const KeyContext& context);

// Runs the command only while its menu item is enabled. Always returns true:
// a routed key is consumed whether or not its command ran.
bool sendMenuCommand(const CommandStates& commands, int commandId, const KeyActions& actions);

// A key press; returns true when the key is consumed.
bool keyPressed(EditorState& state, const KeyStroke& stroke, const KeyContext& context,
                const KeyActions& actions);
// A key release. Releases are never consumed.
void keyReleased(EditorState& state, const KeyStroke& stroke, const KeyActions& actions);

// What a key of the tables does.
enum class KeyAction { Command, HoldColourPicker, ChooseTool, StepForeground, StepBackground };

struct KeyBinding {
    std::string keys; // as pressed: "Ctrl+S", "Shift+P", "Del", "B", "["
    KeyAction action = KeyAction::Command;
    int commandId = 0;            // Command
    ToolId tool = ToolId::Pencil; // ChooseTool
    int step = 0;                 // StepForeground, StepBackground: -1 or +1
};

// Every key of the tables, in their order: the menu commands' keys, Delete
// and Shift, then the tool keys and the colour steps.
std::vector<KeyBinding> keyBindings();

// The key that chooses `tool` ("B"), or empty.
std::string toolKeyText(ToolId tool);

// True when the key press is a tool key that acts in this context.
bool isToolKey(const KeyStroke& stroke, const KeyContext& context);
// A tool key in this context: chooses the tool or steps the colour index
// (wrapping from 15 to 0 and back) and returns true, the key consumed.
// Nothing changes during a drag, but the key is consumed all the same.
bool toolKeyPressed(EditorState& state, const KeyStroke& stroke, const KeyContext& context,
                    const KeyActions& actions);

// Holding Shift makes the colour picker current until it is released,
// except over the Select tool.
void shiftPressed(EditorState& state, const KeyActions& actions);
void shiftReleased(EditorState& state, const KeyActions& actions);

} // namespace tessel

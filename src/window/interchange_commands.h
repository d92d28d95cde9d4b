// The window's commands that move art in and out: sprites and the sheet as
// PNG pictures, patches, and pictures through the system clipboard. Each
// asks for the path (widgets/local_path.h turns it into the file's name)
// and runs the rule the command line runs too (interchange/art_exchange.h).
// Imports change the sprites in memory only (marked edited, one undo
// snapshot for the sprite shown); Save writes them.
#pragma once

class QWidget;

namespace tessel {

struct EditorState;
class UserPrompts;

// Runs `id` when it is one of these commands; false for any other id.
bool runInterchangeCommand(QWidget* window, EditorState& state, UserPrompts& prompts, int id);

} // namespace tessel

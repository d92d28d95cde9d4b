// The sprite's history as the History dialog uses it: list the current
// sprite's states, make one of them the sprite's pixels again.
//
// historyStates(): the edit under way is settled and, for a sprite not yet
// in the journal, its present state recorded "as loaded"; then its states,
// oldest first.
// restoreHistoryState(): one new edit: a floating block is put down, an
// undo snapshot is taken (the sprite is marked edited), the state's pixels
// fill the sprite's W x H, the result joins the history as "restore", and
// the canvas is repainted.
#pragma once

#include <cstdint>
#include <vector>

#include "model/editor_state.h"

namespace tessel {

std::vector<const JournalState*> historyStates(EditorState& state);

// False, and nothing changed, when there is no sprite to edit or the state
// is not one of the current sprite's.
bool restoreHistoryState(EditorState& state, std::uint64_t id);

} // namespace tessel

// Compare With and Take Sprite from Other ROM as the File and Edit menus do
// them, without the dialogs (the comparison itself: rom/rom_compare.h).
//
// compareWithRom: RomComparison::open -> Take Sprite from Other ROM
//   enabled. closeComparison (Close ROM): closed -> Take Sprite grayed.
// takeSpriteFromOther: one edit of the current sprite, as any other: the
//   floating block put down -> undo snapshot (edit mark, history entry
//   "taken from the other ROM") -> the other ROM's pixels -> the journal
//   settled -> canvas repainted -> the edit ended. Only memory changes, so
//   a ROM open read-only allows it.
#pragma once

#include <string>

#include "model/editor_state.h"
#include "rom/rom_compare.h"

namespace tessel {

IoResult compareWithRom(EditorState& state, RomComparison& comparison, const std::string& path,
                        FileIo& io = systemFileIo());
void closeComparison(EditorState& state, RomComparison& comparison);

// Refused (nothing changes) with no ROM, no sprite or no comparison open,
// and when the current sprite is the same in the other ROM.
IoResult takeSpriteFromOther(EditorState& state, RomComparison& comparison);

} // namespace tessel

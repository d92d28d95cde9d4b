// The one rule for what is unsaved, which the caption's "*", every question
// before edits are let go, Save All's count, the browser's marks and the
// recovery file follow.
//
// A sprite is unsaved while its mark says an import, a patch or a restore
// is pending (model/edit_marks.h), or while it is marked edited and its
// pixels encode otherwise than the copy of the sprite area last read or
// written (RomDocument::diskSpriteArea): an edit undone back to the saved
// state is no edit. A marked sprite whose record lies outside the sprite
// area cannot be compared and stays unsaved.
//
// Edit marks are set before the pixels change (the undo snapshot), so
// whoever shows them settles the mark of the sprite that changed after each
// change: settleSpriteMark compares that one sprite and sets or clears its
// mark to agree (the window does so at every repaint of the current
// sprite). The questions ask isSpriteUnsaved afresh for each marked sprite.
#pragma once

#include "model/rom_document.h"

namespace tessel {

bool isSpriteUnsaved(const RomDocument& document, int sprite);
int unsavedSpriteCount(const RomDocument& document);
// Sets or clears the edit mark of `sprite` as the rule says; a pending mark
// and a sprite that cannot be compared are left as they are.
void settleSpriteMark(RomDocument& document, int sprite);

} // namespace tessel

// Which sprites hold edits that are not in the ROM.
//
// A mark is set by every operation that changes a sprite's pixels (each
// takes an undo snapshot first, and Undo itself is one) and cleared by a
// save that reached the disk, by Refresh Sprite, by loading, and by the
// rule of rom/unsaved_sprites.h once the pixels are back to what was last
// read or written. Saving and the unsaved-edits question look at marked
// sprites only, so a change another program made to a sprite the user
// never touched is never written back over.
//
// An import, a patch and a restore from the recovery file mark their
// sprites pending (markSpritePending): those stay unsaved until saved or
// read again, whatever their pixels, until an edit of their own marks them
// plainly edited again and the pixels decide.
//
// editGeneration counts edits: it moves at the start of an edit and again
// at its end (the mouse release), so that anything kept in step with the
// sprites (the recovery file) can tell that there is something new.
// spriteMarkCounts moves per sprite with every mark set or cleared: the
// pixels of a sprite that is not the current one change only that way
// (a floating block is put down on its sprite before another is chosen).
//
// A mark that flips is announced to the document's observers
// (editMarksChanged).
#pragma once

#include "model/rom_document.h"

namespace tessel {

void markSpriteEdited(RomDocument& document, int sprite);
void markSpritePending(RomDocument& document, int sprite);
void clearSpriteEdited(RomDocument& document, int sprite);
void clearAllEditMarks(RomDocument& document);
bool isSpriteEdited(const RomDocument& document, int sprite);
bool isSpritePending(const RomDocument& document, int sprite);
int editedSpriteCount(const RomDocument& document);
// An edit ended (a mouse release, a command); bumps editGeneration.
void noteEditEnded(RomDocument& document);

} // namespace tessel

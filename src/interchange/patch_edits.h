// A patch applied to the open ROM, as the window's Apply Patch and the
// command line's apply-patch share it.
//
// patchOpenRom: the patch file -> the ROM file's bytes as they are now
//               (through the document's own file) -> applyRomPatch ->
//               romPatchEffect (interchange/patch_apply.h).
// Then either the patched file goes to a new file (writePatchedCopy), or,
// when only sprites and palettes change, takePatchedSprites makes the
// sprites edits (marked edited, saved by the caller) and patchedPalette
// gives each changed palette for writePalette (rom/rom_session.h), which
// writes it as the palette editor's Apply Changes does.
#pragma once

#include <string>

#include "interchange/art_exchange.h"
#include "interchange/patch_apply.h"

namespace tessel {

struct PatchedRom {
    PatchBytes patched; // the whole file, as the ROM would be with the patch
    PatchEffect effect;
    bool copierHeader = true; // the file has one (its offsets are a copier image's)
};

Outcome<PatchedRom> patchOpenRom(const RomDocument& document, const std::string& patchPath);

// The sentence refusing to change the open ROM in place: the first other
// range, and what to do instead (`instead`, e.g. "give OUT to write the
// patched ROM to a new file").
std::string otherBytesRefusal(const PatchedRom& rom, const std::string& instead);

// Every changed sprite takes its pixels from the patched file and is
// marked edited; `beforeChange` runs just before each (an undo snapshot).
void takePatchedSprites(RomDocument& document, const PatchedRom& rom, const BeforeChange& beforeChange = {});
// Palette `palette` as the patched file holds it (colour 0 as the document has it).
RawPalette patchedPalette(const RomDocument& document, const PatchedRom& rom, int palette);

// The patched file written durably to `out` (a new file, never the ROM).
IoResult writePatchedCopy(const std::string& out, const std::string& romPath, const PatchedRom& rom);

// "3 sprites and 1 palette", "no sprite or palette" and the like.
std::string spritesAndPalettes(const PatchEffect& effect);

} // namespace tessel

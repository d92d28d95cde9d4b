// Save a Copy As: the ROM as Save All would leave it, written to a new
// file, while the open ROM and its edit marks stay as they are. It is the
// way out when the ROM cannot take the edits: replaced or deleted by
// another program, or opened read-only.
//
// saveRomCopy: refuse a target that is the held file (also through a
//              link) or the file now at its path -> romAfterSaveAll ->
//              replaceFile (durable: exclusive temporary, fsync, rename).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/rom_document.h"

namespace tessel {

// The bytes of the file we hold (read through our own descriptor, so a
// file renamed over or deleted since does not matter), with every changed
// tile of every edited sprite as the editor holds it, as Save All writes
// them: tiles that read as our copy of the sprite area keep the file's
// bytes, and a tile past the end of the file is left out, never added.
// It is made beside the save (rom_saving.cpp), from the same plan of
// writes, so that the copy and a save cannot differ.
struct RomCopy {
    std::vector<std::uint8_t> bytes;
    int spritesChanged = 0;          // edited sprites with a tile written
    std::vector<int> unsavedSprites; // edited sprites with a changed tile past the end
};
Outcome<RomCopy> romAfterSaveAll(const RomDocument& document);

// Writes romAfterSaveAll to `path` durably. `copy` (when given) receives
// what was written.
IoResult saveRomCopy(const RomDocument& document, const std::string& path, RomCopy* copy = nullptr,
                     FileIo& io = systemFileIo());

} // namespace tessel

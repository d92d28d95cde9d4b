// Loading sprites and palettes from the open ROM and saving them back.
//
// Open:   checkRomIdentity(path) -> RomFile::open -> loadAllSprites.
// Save:   saveCurrentSprite / saveAllSprites encode the records' pixels into
//         the sprite tiles in place, write each contiguous run of changed
//         bytes once, and sync the file once per command.
// Reload: reloadCurrentSprite reads the current sprite and its palette again.
//
// No write ever extends the file: tiles that lie past its end are not
// written, and the result lists the sprites that therefore were not saved.
#pragma once

#include <string>
#include <vector>

#include "model/editor_state.h"
#include "rom/rom_kind.h"

namespace tessel {

inline constexpr long long kTitleOffset = 0x101C0;
inline constexpr char kRomTitle[] = "OAKEN SHORE";
inline constexpr long long kPaletteBlockOffset = 0x30200;

enum class RomIdentity {
    CannotOpen,   // cannot be opened for reading and updating (or is locked)
    TitleDiffers, // opened, but "OAKEN SHORE" is neither at 0x101C0 nor at 0xFFC0
    TitleMatches, // the title is at 0x101C0 (copier image) or 0xFFC0 (no header)
};
// Opens `path` for update and takes the lock as a real open would, reads the
// 11 bytes at both title places (0xFF past the end of the file) and closes
// it again. `heldOpen` is the ROM this editor already holds: our own lock on
// that very file does not count as "in use". On CannotOpen, `reason` (when
// given) receives the reason, a sentence for the user. Unless CannotOpen,
// `probe` (when given) receives what was found: the kind, both titles and
// the file's length.
RomIdentity checkRomIdentity(const std::string& path, FileIo& io = systemFileIo(),
                             const RomFile* heldOpen = nullptr, std::string* reason = nullptr,
                             RomProbe* probe = nullptr);

struct SaveResult {
    bool ok = true;
    std::string error;               // the system's reason when !ok
    std::vector<int> unsavedSprites; // sprites (partly) past the end of the file
    bool complete() const { return ok && unsavedSprites.empty(); }
};

// Decoding. A tile or palette past the end of the file reads as 0xFF bytes.
IoResult loadAllSprites(EditorState& state); // records from the catalogue, sprites, palettes
// The same from `file` (not yet the state's): everything is read before the
// store is touched, so a failed read leaves the store as it was.
IoResult loadAllSprites(EditorState& state, const RomFile& file);
IoResult loadSprite(EditorState& state, int sprite);
IoResult loadPalette(EditorState& state, int palette);

// Encoding.
SaveResult saveSprite(EditorState& state, int sprite); // writes, does not sync
SaveResult saveCurrentSprite(EditorState& state);
SaveResult saveAllSprites(EditorState& state);
// Refresh Sprite: current sprite and its palette from the file, repainted.
IoResult reloadCurrentSprite(EditorState& state);

// Writes colours 1..15 of `palette` (components masked to 0..31) and syncs.
IoResult writePalette(EditorState& state, int palette, const RawPalette& colours);

// True when some sprite's pixels would write bytes that differ from what
// the file holds now (an edit undone back to the saved state is no edit).
bool hasUnsavedEdits(const EditorState& state);

} // namespace tessel

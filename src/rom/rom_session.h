// Loading sprites and palettes from the open ROM and saving them back.
//
// Open:   checkRomIdentity(path) -> RomFile::open -> loadAllSprites.
// Save:   saveSprite / saveAllSprites check that the file is still the one
//         we opened, encode the edited sprites, write each run of changed
//         whole tiles once, and sync the file once per command.
// Reload: loadSprite and loadPalette read one sprite and one palette again
//         (Refresh Sprite, editor/rom_commands.h, then repaints).
//
// Each takes the ROM document alone and never calls the window.
//
// No write ever extends the file: tiles that lie past its end are not
// written, and the result lists the edited sprites that therefore were not
// saved.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "model/rom_document.h"
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
// Opens `path` as RomFile::open does (the same checks and sentences: a
// pipe or device, write protection, another editor's lock), reads the 11
// bytes at both title places (0xFF past the end of the file) and closes it
// again. `heldOpen` is the ROM this editor already holds: our own lock on
// that very file does not count as "in use". On CannotOpen, `reason` (when
// given) receives the reason, a sentence for the user. Unless CannotOpen,
// `probe` (when given) receives what was found: the kind, both titles and
// the file's length.
RomIdentity checkRomIdentity(const std::string& path, FileIo& io = systemFileIo(),
                             const RomFile* heldOpen = nullptr, std::string* reason = nullptr,
                             RomProbe* probe = nullptr);

// What a save did. A save that found the file replaced, or changed by
// another program (and was not told to write over that), wrote nothing and
// says which in `file`.
struct SaveResult {
    bool ok = true;
    std::string error;               // the system's reason when !ok
    // Edited sprites with changes past the end of the file; on a failure
    // after writing began (the file cut short meanwhile), every changed
    // sprite of the save.
    std::vector<int> unsavedSprites;
    HeldFile file = HeldFile::Unchanged;
    int spritesSaved = 0;   // sprites with tiles written
    int tilesWritten = 0;
    int coloursWritten = 0; // palette colours written
    bool declined = false;  // beforeWriting said no: nothing was written
    bool complete() const { return ok && unsavedSprites.empty(); }
};

struct SaveOptions {
    // The user chose to write although another program changed the file.
    bool overOutsideChange = false;
    // Runs once the file is checked and something is to be written, before
    // the first byte is (the run's backup of the ROM); false writes nothing.
    std::function<bool()> beforeWriting = {};
};

// Decoding, into the document (model/rom_document.h; each announces what it
// read to the document's observers). A tile or palette past the end of the
// file reads as 0xFF bytes.
IoResult loadAllSprites(RomDocument& document); // records from the catalogue, sprites, palettes
// The same from `file` (not yet the document's): everything is read before
// the store is touched, so a failed read leaves the store as it was.
IoResult loadAllSprites(RomDocument& document, const RomFile& file);
// One sprite read again; its edit mark is cleared.
IoResult loadSprite(RomDocument& document, int sprite);
IoResult loadPalette(RomDocument& document, int palette);

// Encoding. Save Current Sprite (editor/rom_commands.h) writes one
// sprite's changed tiles, Save All those of every edited sprite; both sync
// once and then clear the marks of the sprites that reached the disk.
SaveResult saveSprite(RomDocument& document, int sprite, const SaveOptions& options = {});
SaveResult saveAllSprites(RomDocument& document, const SaveOptions& options = {});
// The edited sprites that a save could not write whole, ascending: a tile
// that changed lies past the end of a file of `fileSize` bytes. The saves
// above report these as unsavedSprites and write the rest; the command line
// looks first and writes nothing when there are any.
std::vector<int> editedSpritesPastTheEnd(const RomDocument& document, long long fileSize);

// Writes those of colours 1..15 of `palette` (components masked to 0..31)
// that differ from the palette as loaded, keeping bit 15 of each word as
// the file has it, and syncs. The caller reloads the palette on success.
SaveResult writePalette(RomDocument& document, int palette, const RawPalette& colours,
                        const SaveOptions& options = {});

// True when some sprite is unsaved by the rule of rom/unsaved_sprites.h.
bool hasUnsavedEdits(const RomDocument& document);

} // namespace tessel

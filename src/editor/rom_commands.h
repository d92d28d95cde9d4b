// Opening and closing the ROM as the File menu does it, without the dialogs:
// the window asks for the path, checks the identity with the user, then
// calls openRom(); closeRom() needs no questions of its own. Save Current
// Sprite and Refresh Sprite: the current sprite's part of rom/rom_session.h,
// and the repaint that follows a refresh.
#pragma once

#include <optional>
#include <string>

#include "model/editor_state.h"
#include "rom/rom_kind.h"
#include "rom/rom_session.h"

namespace tessel {

// Opens `path` for editing (replacing an open ROM only once the new one is
// open), reads it as a copier image or as a dump without the header by
// where its title lies (rom/rom_kind.h), loads every sprite and palette, selects sprite 0 and enables the
// ROM's menu commands. On failure nothing changes, with one exception: when
// the ROM already open is opened again (its old descriptor must go for the
// new one to take the lock) and that then fails, no ROM is left open and
// the commands are grayed as by closeRom().
// `kind`, when the caller has just probed the file (checkRomIdentity), saves
// probing it again. `readOnly` opens it for reading only (no lock; the
// user chose to look at a file that cannot be written): the commands that
// write into it (writesIntoRom, model/command_states.h) stay grayed.
IoResult openRom(EditorState& state, const std::string& path,
                 std::optional<RomKind> kind = std::nullopt, bool readOnly = false);

// Closes the file, grays the ROM's menu commands and selects no sprite.
// Opening and closing both empty the history journal.
void closeRom(EditorState& state);

// saveSprite() of the current sprite.
SaveResult saveCurrentSprite(EditorState& state, const SaveOptions& options = {});
// Refresh Sprite: the current sprite and its palette from the file, then
// the canvas repainted (also when only the palette could not be read). The
// pixels read join the history; Redo is given up, Undo kept.
IoResult reloadCurrentSprite(EditorState& state);

} // namespace tessel

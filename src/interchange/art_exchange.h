// Art in and out of the open ROM's sprites and palettes: the rules that the
// window's menus, the palette editor and the command line share, so that a
// rule and its sentence exist once.
//
// Import: importSpriteFile / importSheetFile / pastePicture put a floating
//         block down, read the picture and match its colours (sprite_png.h,
//         sprite_sheet.h, clipboard_picture.h), then change the sprites in
//         memory: marked edited, one undo snapshot when the sprite shown
//         changes. Nothing is written; the caller saves (the command line at
//         once, the window on Save). takePaletteColours does the same for a
//         palette read with importPaletteFile (palette_files.h).
// Export: exportTarget refuses the open ROM and any link to it, then
//         writeExport / exportPalette / exportPatch write the file.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "file/outcome.h"
#include "model/editor_state.h"

namespace tessel {

struct ArtChange {
    std::vector<int> changedSprites; // ascending; the pictures' pixels differed
    std::string message;             // what the import did, in one sentence
};

// `sprite` from the PNG at `path`, matched against its own palette. The
// sprite is marked edited (with an undo snapshot when it is the one shown)
// even when the picture holds the pixels it had; `changedSprites` says
// whether they differ.
Outcome<ArtChange> importSpriteFile(EditorState& state, int sprite, const std::string& path);
// The same on a document alone (the command line): `beforeChange`, when
// given, runs just before a sprite takes its new pixels.
using BeforeChange = std::function<void(int sprite)>;
Outcome<ArtChange> importSpriteFile(RomDocument& document, int sprite, const std::string& path,
                                    const BeforeChange& beforeChange = {});

// Every sprite from the sheet at `path`: those whose pixels differ are
// marked edited, the one shown with an undo snapshot first. A sheet with a
// cell map beside it (an indexed sheet, interchange/indexed_sheet.h) is
// read through its map.
Outcome<ArtChange> importSheetFile(EditorState& state, const std::string& path);
Outcome<ArtChange> importSheetFile(RomDocument& document, const std::string& path,
                                   const BeforeChange& beforeChange = {});

// The picture `png` floated at the top-left of the sprite shown, matched
// against that sprite's palette (clipboard_picture.h).
IoResult pastePicture(EditorState& state, std::span<const std::uint8_t> png);

// Colours 1..15 of `fromFile` in place of those of `colours`; colour 0 is
// the ROM's own and stays. True when any colour changed.
bool takePaletteColours(RawPalette& colours, const RawPalette& fromFile);

// Refused when `out` names the ROM at `romPath`, also through a link: an
// export never takes the ROM's place.
IoResult exportTarget(const std::string& out, const std::string& romPath);

// `bytes` (or why there are none) written to `out`, never over the ROM.
IoResult writeExport(const std::string& out, const std::string& romPath,
                     const Outcome<std::vector<std::uint8_t>>& bytes);
// `colours` as palette `palette` of the open ROM: a GIMP palette is named
// after the ROM and the palette ("game palette 05"), a .bin keeps each
// colour word's bit 15 as the ROM holds it.
IoResult exportPalette(const std::string& out, const RomDocument& document, int palette,
                       const RawPalette& colours);
// "game": the ROM's file name without its extension, for suggested names.
std::string romStem(const std::string& romPath);
// The patch that turns `cleanPath` into the ROM at `romPath`.
IoResult exportPatch(const std::string& out, const std::string& cleanPath, const std::string& romPath);

} // namespace tessel

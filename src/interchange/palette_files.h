// One 16-colour palette as a file, the kind chosen by the name's extension
// (any case):
//   .gpl  GIMP palette: "GIMP Palette", optional Name:/Columns: lines and
//         # comments, then "r g b [name]" lines
//   .pal  JASC-PAL: "JASC-PAL", "0100", the colour count, "r g b" lines
//   .act  Adobe colour table: 256 RGB triples (768 bytes), optionally
//         followed by a big-endian colour count and transparent index
//   .bin  32 bytes: 16 little-endian SNES words, red in bits 0-4, green in
//         5-9, blue in 10-14
// Writing puts out colour 0 as black and colours 1..15 as the program shows
// them (8v + 7; the raw words in .bin). Reading takes the first 16 colours
// of the file, each 8-bit component shifted right by 3 (so 8v + 7 comes back
// as v); colour 0 is not taken. Garbage lines, out-of-range values and files
// with fewer than 16 colours are refused.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "file/outcome.h"
#include "rom/palette_codec.h"

namespace tessel {

enum class PaletteFileKind { Gimp, Jasc, Adobe, SnesWords };

// By extension; nothing for any other name.
std::optional<PaletteFileKind> paletteFileKind(const std::string& path);

std::vector<std::uint8_t> writePaletteFile(PaletteFileKind kind, const RawPalette& raw,
                                           const std::string& name = "Oakenshore palette");
// Colours 1..15 of the result come from the file; colour 0 is left 0.
Outcome<RawPalette> readPaletteFile(PaletteFileKind kind, std::span<const std::uint8_t> bytes);

// The same through files, the kind from the extension.
IoResult exportPaletteFile(const std::string& path, const RawPalette& raw);
Outcome<RawPalette> importPaletteFile(const std::string& path);

} // namespace tessel

// One 16-colour palette as a file, the kind chosen by the name's extension
// (any case):
//   .gpl  GIMP palette: "GIMP Palette", optional Name:/Columns: lines and
//         # comments, then "r g b [name]" lines
//   .pal  JASC-PAL: "JASC-PAL", "0100", the colour count, "r g b [alpha]"
//         lines; or (read only) a RIFF palette: "RIFF", "PAL ", a "data"
//         chunk of (r, g, b, flags) entries
//   .act  Adobe colour table: 256 RGB triples (768 bytes), optionally
//         followed by a big-endian colour count and transparent index
//   .bin  32 bytes: 16 little-endian SNES words, red in bits 0-4, green in
//         5-9, blue in 10-14, bit 15 written as the ROM holds it; or (read
//         only) a 512-byte CGRAM dump, 16 such palettes, one of them taken
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

inline constexpr std::size_t kCgramBytes = 512;
inline constexpr int kCgramPalettes = 16;

// Bit k of `highBits` is bit 15 of colour k's word in a .bin file (the
// hardware ignores it, but ROM tools compare whole words).
std::vector<std::uint8_t> writePaletteFile(PaletteFileKind kind, const RawPalette& raw,
                                           const std::string& name = "Oakenshore palette",
                                           std::uint16_t highBits = 0);
// Colours 1..15 of the result come from the file; colour 0 is left 0.
// `dumpPalette` (0..15) says which palette of a CGRAM dump is taken.
Outcome<RawPalette> readPaletteFile(PaletteFileKind kind, std::span<const std::uint8_t> bytes,
                                    int dumpPalette = 0);

// The same through files, the kind from the extension.
IoResult exportPaletteFile(const std::string& path, const RawPalette& raw,
                           const std::string& name = "Oakenshore palette", std::uint16_t highBits = 0);
Outcome<RawPalette> importPaletteFile(const std::string& path, int dumpPalette = 0);
// A .bin file of exactly 512 bytes, whose palette must be chosen.
bool isCgramDump(const std::string& path);

} // namespace tessel

// All sprites as one RGBA sheet: a grid of 32 columns of 64 x 80 cells in
// sprite order (1144 sprites make 36 rows, 2048 x 2880 pixels), each sprite
// at its cell's top-left in its own palette's colours; colour 0 and the rest
// of every cell are transparent.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "file/outcome.h"
#include "interchange/sprite_view.h"

namespace tessel {

inline constexpr int kSheetColumns = 32;
inline constexpr int kSheetCellWidth = kBufferWidth;
inline constexpr int kSheetCellHeight = kBufferHeight;

struct SheetSize {
    int width = 0, height = 0;
};
SheetSize sheetSize(int spriteCount);

// The sheet's pixels, R G B A row by row.
Outcome<std::vector<std::uint8_t>> renderSheet(std::span<const SpriteView> sprites,
                                               std::span<const DisplayPalette> palettes);
Outcome<std::vector<std::uint8_t>> exportSheetPng(std::span<const SpriteView> sprites,
                                                  std::span<const DisplayPalette> palettes);

struct SheetImport {
    std::vector<int> changedSprites;       // ascending
    std::vector<PixelBuffer> changedPixels; // the new store of each, in the same order
    std::string message;                   // how many sprites changed, the first ten named
};

// Each sprite's W x H area of its cell is matched by colour against its own
// palette (see colour_mapping.h), or, in a palette sheet whose palette names
// that sprite's colours for every value the cell uses, taken index for
// index; the rest of the sheet is not looked at. If
// any pixel of any sprite matches nothing, the whole import is refused and
// the message names those sprites. A sheet of another size is refused.
Outcome<SheetImport> importSheetPng(std::span<const std::uint8_t> png, std::span<const SpriteView> sprites,
                                    std::span<const RawPalette> palettes);
Outcome<SheetImport> importSheetPngFile(const std::string& path, std::span<const SpriteView> sprites,
                                        std::span<const RawPalette> palettes);

} // namespace tessel

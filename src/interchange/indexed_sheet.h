// The sprites of one palette as one palette PNG, for pixel-art editors that
// keep a picture's indices: every pixel's value is the sprite's colour
// index, the 16 entries are the palette's colours as the program shows them
// (entry 0 transparent). Cells of 64 x 80 pixels, 16 to a row, hold the
// sprites in ascending order at their top-left; the rest is index 0.
//
// A cell map beside the picture (OUT.json for OUT.png) says where each
// sprite lies:
//   {"palette": 5, "cells": [{"sprite": 18, "x": 0, "y": 0, "width": 32,
//    "height": 32}, ...]}
// and importing reads the picture back through it: each cell taken as
// that sprite's picture (interchange/sprite_png.h), all or nothing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "interchange/art_exchange.h"

namespace tessel {

inline constexpr int kIndexedSheetColumns = 16;

struct IndexedSheet {
    std::vector<std::uint8_t> png;
    std::string cellMap; // the JSON text
};

Outcome<IndexedSheet> exportIndexedSheet(const RomDocument& document, int palette);

// "DIR/name.json" for "DIR/name.png" (any other name: ".json" appended).
std::string cellMapPathOf(const std::string& pngPath);

// The sprites the map names, from the picture at `pngPath`; those whose
// pixels differ are marked edited (`beforeChange` first). A map or picture
// that does not fit the ROM's sprites refuses the whole import.
Outcome<ArtChange> importIndexedSheetFile(RomDocument& document, const std::string& pngPath,
                                          const std::string& mapPath, const BeforeChange& beforeChange = {});

} // namespace tessel

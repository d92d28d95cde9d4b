// The built-in catalogue: where each of the 1144 sprites lies in the ROM
// file, its size in 8 x 8 tiles and the palette it is drawn with.
//
// The table is held as runs of sprites that share size and palette; the
// offsets follow from the sizes: every sprite starts where the previous one
// ends, except for two 576-byte gaps (after sprites 106 and 1099).
#pragma once

#include <array>
#include <cstdint>

#include "model/sprite_store.h"

namespace tessel {

inline constexpr int kTileCount = 8714; // tiles of all catalogued sprites

struct CatalogueEntry {
    std::int32_t romOffset = 0;
    std::int32_t widthTiles = 0;
    std::int32_t heightTiles = 0;
    std::int32_t paletteIndex = 0;

    constexpr std::int32_t byteCount() const { return widthTiles * heightTiles * kTileBytes; }
    constexpr std::int32_t endOffset() const { return romOffset + byteCount(); }
};

using SpriteCatalogue = std::array<CatalogueEntry, kSpriteCount>;

// The catalogue, computed once from the run list.
const SpriteCatalogue& spriteCatalogue();

using SpriteStore = std::array<SpriteRecord, kSpriteCount>;

// Gives every record its offset, size and palette from the catalogue; the
// pixels are left alone.
void initRecordsFromCatalogue(SpriteStore& store);

} // namespace tessel

// One sprite as a palette PNG: W x H pixels whose values are the sprite's
// colour indices, 16 palette entries in the colours the program shows,
// entry 0 fully transparent (the game never draws colour 0).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "file/outcome.h"
#include "interchange/sprite_view.h"

namespace tessel {

Outcome<std::vector<std::uint8_t>> exportSpritePng(const SpriteView& sprite, const DisplayPalette& display);

// The sprite's pixel store after taking in the picture; only the W x H area
// differs from the sprite's own store, and nothing is touched on failure.
// A palette picture whose palette names the sprite's colours for every
// value used is taken index for index (valuesAreIndices); any other picture
// (grey, RGB, RGBA, or a palette picture in another order) is matched by
// colour against `raw` (see colour_mapping.h). Refused: a picture of another size than the sprite's
// (both sizes named), and one with pixels that match no colour (counted,
// the first ten listed as (x, y, #rrggbb)).
Outcome<PixelBuffer> importSpritePng(std::span<const std::uint8_t> png, const SpriteView& sprite,
                                     const RawPalette& raw);
Outcome<PixelBuffer> importSpritePngFile(const std::string& path, const SpriteView& sprite,
                                         const RawPalette& raw);

} // namespace tessel

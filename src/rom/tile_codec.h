// The Super Nintendo's 4-bit-per-pixel planar tile: 8 x 8 pixels in 32
// bytes. Bytes 2r and 2r+1 are bit planes 0 and 1 of row r, bytes 16+2r and
// 17+2r planes 2 and 3; bit 7 of a plane byte is column 0.
//
// A sprite of W x H tiles stores its tiles row of tiles by row of tiles,
// left to right: tile (tx, ty) is at byte 32 * (ty * W + tx) and covers
// pixels 8tx..8tx+7, 8ty..8ty+7 of the record's 64-byte-stride buffer.
#pragma once

#include <cstdint>

#include "model/sprite_store.h"

namespace tessel {

// Writes the tile's 64 indices (0..15) at (x0, y0) of `pixels`.
void decodeTile(const std::uint8_t* tile, PixelBuffer& pixels, int x0, int y0);

// Encodes the 8 x 8 pixels at (x0, y0); only the low four bits of each
// pixel byte count.
void encodeTile(const PixelBuffer& pixels, int x0, int y0, std::uint8_t* tile);

// Whole sprites: `bytes` holds the record's 32 * W * H tile bytes. Decoding
// clears the rest of the buffer, as every pixel outside W x H reads as 0.
void decodeSprite(const std::uint8_t* bytes, SpriteRecord& record);
void encodeSprite(const SpriteRecord& record, std::uint8_t* bytes);

// The same codec without vector instructions, used where the processor has
// no AVX2; `out`/`in` point at the tile's top-left pixel (row stride 64).
void decodeTilePortable(const std::uint8_t* tile, std::uint8_t* out);
void encodeTilePortable(const std::uint8_t* in, std::uint8_t* tile);

} // namespace tessel

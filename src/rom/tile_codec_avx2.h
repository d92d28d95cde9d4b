// The tile codec's AVX2 kernels, used when the processor has AVX2 (checked
// once at start-up). Both take the tile's top-left pixel with row stride 64.
#pragma once

#include <cstdint>

namespace tessel {

bool processorHasAvx2();
void decodeTileAvx2(const std::uint8_t* tile, std::uint8_t* out);
void encodeTileAvx2(const std::uint8_t* in, std::uint8_t* tile);

} // namespace tessel

// CRC-32 (the zlib / PNG / BPS polynomial), computed by zlib.
#pragma once

#include <cstdint>
#include <span>

namespace tessel {

std::uint32_t crc32Of(std::span<const std::uint8_t> bytes);

} // namespace tessel

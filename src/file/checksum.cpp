#include "file/checksum.h"

#include <zlib.h>

#include <algorithm>

namespace tessel {

std::uint32_t crc32Of(std::span<const std::uint8_t> bytes)
{
    uLong crc = ::crc32(0L, Z_NULL, 0);
    // zlib takes at most a uInt at a time.
    for (std::size_t done = 0; done < bytes.size();) {
        const uInt chunk = static_cast<uInt>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        crc = ::crc32(crc, bytes.data() + done, chunk);
        done += chunk;
    }
    return static_cast<std::uint32_t>(crc);
}

} // namespace tessel

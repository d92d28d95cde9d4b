// Where an editing session may change a ROM file: the tiles of catalogued
// sprites and colours 1-15 of the 32 palettes. Everything else (the copier
// header, the title, colour 0 of each palette, the two 576-byte gaps in the
// sprite area, the rest of the game) must keep its bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tessel::testing {

struct ByteRange {
    long long begin = 0, end = 0; // [begin, end)
};

// The ranges, worked out from the file layout: sprites from 0x110200 to
// 0x1547C0 less the gaps before sprites 107 (0x11DD00) and 1100 (0x153100);
// palette p's colours 1-15 at 0x30202 + 32 p, 30 bytes.
std::vector<ByteRange> editableRanges();

// An empty string when `now` differs from `before` only inside the
// editable ranges (and has the same length); otherwise what differs where.
std::string forbiddenChanges(const std::vector<std::uint8_t>& before,
                             const std::vector<std::uint8_t>& now);

} // namespace tessel::testing

// Whether a ROM image of the game carries a 512-byte copier header: the
// title "OAKEN SHORE" lies at file offset 0x101C0 with one, at 0xFFC0
// without.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace tessel {

enum class RomKind { Headered, Headerless, Unknown };

RomKind romKind(std::span<const std::uint8_t> image);
// What follows "The ROM " in a message: "has a copier header", "has no
// copier header", "is not a ROM of Oakenshore ...".
std::string describeRomKind(RomKind kind);

} // namespace tessel

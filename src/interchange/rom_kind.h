// Which kind a ROM image held in memory is (a copier image or a dump
// without the copier header), found by its title as the ROM layer finds it
// in a file; and the kind in words for a message.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "rom/rom_kind.h"

namespace tessel {

RomKind romKind(std::span<const std::uint8_t> image);
// What follows "The ROM " in a message: "has a copier header", "has no
// copier header", "is not a ROM of Oakenshore ...".
std::string describeRomKind(RomKind kind);

} // namespace tessel

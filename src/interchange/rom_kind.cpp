#include "interchange/rom_kind.h"

#include <algorithm>
#include <string_view>

namespace tessel {
namespace {

constexpr std::string_view kTitle = "OAKEN SHORE";

bool titleAt(std::span<const std::uint8_t> image, std::size_t offset)
{
    return image.size() >= offset + kTitle.size() &&
           std::equal(kTitle.begin(), kTitle.end(), image.begin() + static_cast<std::ptrdiff_t>(offset));
}

} // namespace

RomKind romKind(std::span<const std::uint8_t> image)
{
    if (titleAt(image, 0x101C0)) return RomKind::Headered;
    if (titleAt(image, 0xFFC0)) return RomKind::Headerless;
    return RomKind::Unknown;
}

std::string describeRomKind(RomKind kind)
{
    switch (kind) {
    case RomKind::Headered: return "has a copier header";
    case RomKind::Headerless: return "has no copier header";
    case RomKind::Unknown: break;
    }
    return "is not a ROM of Oakenshore (its title is neither at 0x101C0 nor at 0xFFC0)";
}

} // namespace tessel

#include "interchange/rom_kind.h"

#include <algorithm>

namespace tessel {
namespace {

// The 11 bytes at `offset`, 0xFF where the image ends before them.
RomTitle titleAt(std::span<const std::uint8_t> image, long long offset)
{
    RomTitle title;
    title.fill(0xFF);
    for (int i = 0; i < kRomTitleLength; ++i)
        if (offset + i < static_cast<long long>(image.size())) title[i] = image[offset + i];
    return title;
}

} // namespace

RomKind romKind(std::span<const std::uint8_t> image)
{
    return romKindOf(titleAt(image, kCopierTitleOffset), titleAt(image, kHeaderlessTitleOffset));
}

std::string describeRomKind(RomKind kind)
{
    switch (kind) {
    case RomKind::CopierImage: return "has a copier header";
    case RomKind::Headerless: return "has no copier header";
    case RomKind::Unknown: break;
    }
    return "is not a ROM of Oakenshore (its title is neither at 0x101C0 nor at 0xFFC0)";
}

} // namespace tessel

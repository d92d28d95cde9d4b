#include "rom/rom_kind.h"

#include <algorithm>
#include <cstring>

#include "rom/rom_session.h"
#include "rom/sprite_catalogue.h"

namespace tessel {

namespace {

bool isTitle(const RomTitle& bytes)
{
    static_assert(sizeof(kRomTitle) - 1 == kRomTitleLength);
    return std::memcmp(bytes.data(), kRomTitle, kRomTitleLength) == 0;
}

// Both title places lie in one span of 523 bytes, read at once.
template <typename ReadAt>
IoResult probeWith(long long length, ReadAt readAt, RomProbe& probe)
{
    probe = RomProbe{};
    probe.fileBytes = length;
    constexpr long long kSpan = kCopierTitleOffset - kHeaderlessTitleOffset + kRomTitleLength;
    std::array<std::uint8_t, kSpan> span;
    if (IoResult r = readAt(kHeaderlessTitleOffset, std::span(span)); !r.ok) return r;
    std::copy_n(span.begin(), kRomTitleLength, probe.headerlessTitle.begin());
    std::copy_n(span.end() - kRomTitleLength, kRomTitleLength, probe.copierTitle.begin());
    probe.kind = romKindOf(probe.copierTitle, probe.headerlessTitle);
    return IoResult::success();
}

} // namespace

bool RomProbe::endsBeforeSprites() const { return imageBytes() < kSpriteAreaEnd; }

int RomProbe::spritesPastTheEnd() const
{
    const SpriteCatalogue& catalogue = spriteCatalogue();
    return static_cast<int>(std::count_if(catalogue.begin(), catalogue.end(),
                                          [this](const CatalogueEntry& e) { return e.endOffset() > imageBytes(); }));
}

RomKind romKindOf(const RomTitle& atCopierOffset, const RomTitle& atHeaderlessOffset)
{
    if (isTitle(atCopierOffset)) return RomKind::CopierImage;
    if (isTitle(atHeaderlessOffset)) return RomKind::Headerless;
    return RomKind::Unknown;
}

IoResult probeRom(const RomFile& file, RomProbe& probe)
{
    if (!file.hasCopierHeader()) return IoResult::failure("The file is already read as a dump");
    const Outcome<long long> length = file.size();
    if (!length) return IoResult::failure(length.error);
    return probeWith(
        length.value, [&](long long offset, std::span<std::uint8_t> out) { return file.read(offset, out); }, probe);
}

std::string describeTitle(const RomTitle& title, long long titleOffset, long long fileBytes)
{
    if (fileBytes <= titleOffset) return "(the file ends before)";
    std::string text = "\"";
    const long long present = fileBytes - titleOffset;
    for (long long i = 0; i < kRomTitleLength && i < present; ++i) {
        const std::uint8_t c = title[i];
        text += (c >= 0x20 && c < 0x7F) ? static_cast<char>(c) : '.';
    }
    text += "\"";
    if (present < kRomTitleLength) text += " (where the file ends)";
    return text;
}

} // namespace tessel

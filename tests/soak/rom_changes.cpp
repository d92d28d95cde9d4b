#include "soak/rom_changes.h"

#include <algorithm>
#include <cstdio>

namespace tessel::testing {

namespace {
constexpr long long kGapBytes = 576;
constexpr long long kSpritesBegin = 0x110200, kSpritesEnd = 0x1547C0;
constexpr long long kSprite107 = 0x11DD00, kSprite1100 = 0x153100;
constexpr long long kPalettes = 0x30200;
} // namespace

std::vector<ByteRange> editableRanges()
{
    std::vector<ByteRange> ranges;
    for (long long p = 0; p < 32; ++p) ranges.push_back({kPalettes + 32 * p + 2, kPalettes + 32 * p + 32});
    ranges.push_back({kSpritesBegin, kSprite107 - kGapBytes});
    ranges.push_back({kSprite107, kSprite1100 - kGapBytes});
    ranges.push_back({kSprite1100, kSpritesEnd});
    return ranges;
}

std::string forbiddenChanges(const std::vector<std::uint8_t>& before,
                             const std::vector<std::uint8_t>& now)
{
    if (before.size() != now.size())
        return "the file's length changed from " + std::to_string(before.size()) + " to " +
               std::to_string(now.size());
    std::vector<bool> editable(before.size(), false);
    for (const ByteRange& r : editableRanges())
        for (long long i = r.begin; i < std::min<long long>(r.end, editable.size()); ++i)
            editable[i] = true;
    std::string report;
    int shown = 0, count = 0;
    for (std::size_t i = 0; i < before.size(); ++i) {
        if (before[i] == now[i] || editable[i]) continue;
        ++count;
        if (shown++ < 8) {
            char line[64];
            std::snprintf(line, sizeof line, " 0x%zX: %02X -> %02X;", i, before[i], now[i]);
            report += line;
        }
    }
    return count ? std::to_string(count) + " bytes changed outside sprites and palettes:" + report
                 : std::string();
}

} // namespace tessel::testing

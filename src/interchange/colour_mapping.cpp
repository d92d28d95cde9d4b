#include "interchange/colour_mapping.h"

#include <bit>
#include <cstdio>

namespace tessel {

ColourMatcher::ColourMatcher(const std::array<RawColour, kColoursPerPalette>& raw)
    : table_(new std::uint16_t[1 << 15]())
{
    for (int k = 0; k < kColoursPerPalette; ++k) {
        const int key = (raw[k].red & 31) | ((raw[k].green & 31) << 5) | ((raw[k].blue & 31) << 10);
        table_[key] = static_cast<std::uint16_t>(table_[key] | (1u << k));
    }
}

std::array<RawColour, kColoursPerPalette> matchingColours(const RawPalette& raw)
{
    std::array<RawColour, kColoursPerPalette> colours{};
    for (int k = 1; k < kColoursPerPalette; ++k) colours[k] = {raw.red[k], raw.green[k], raw.blue[k]};
    return colours;
}

bool valuesAreIndices(const UsedValues& used, std::span<const Rgba> plte, const RawPalette& raw)
{
    for (std::size_t v = 0; v < used.size(); ++v) {
        if (!used[v] || v == 0) continue;
        if (v >= kColoursPerPalette || v >= plte.size()) return false;
        const Rgba& c = plte[v];
        if (c.a == 0 || c.r >> 3 != raw.red[v] || c.g >> 3 != raw.green[v] || c.b >> 3 != raw.blue[v])
            return false;
    }
    return true;
}

MappingResult mapColours(const std::uint8_t* rgba, std::size_t rgbaStride, int width, int height,
                         const ColourMatcher& matcher, const std::uint8_t* existing, std::uint8_t* out,
                         std::size_t outStride, int originX, int originY)
{
    MappingResult result;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* p = rgba + rgbaStride * static_cast<std::size_t>(y);
        const std::uint8_t* had = existing + outStride * static_cast<std::size_t>(y);
        std::uint8_t* to = out + outStride * static_cast<std::size_t>(y);
        for (int x = 0; x < width; ++x, p += 4) {
            if (p[3] == 0) {
                to[x] = 0;
                continue;
            }
            const unsigned mask = matcher.matches(p[0], p[1], p[2]);
            if (mask == 0) {
                if (result.unmatchedCount++ < kMaxListedUnmatched)
                    result.firstUnmatched.push_back({x + originX, y + originY, p[0], p[1], p[2]});
                continue;
            }
            const unsigned present = had[x] & 15u;
            to[x] = static_cast<std::uint8_t>((mask >> present) & 1u ? present : std::countr_zero(mask));
        }
    }
    return result;
}

std::string hexColour(std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", r, g, b);
    return text;
}

std::string listUnmatched(const std::vector<UnmatchedPixel>& pixels)
{
    std::string text;
    for (const UnmatchedPixel& p : pixels) {
        if (!text.empty()) text += ", ";
        text += "(" + std::to_string(p.x) + ", " + std::to_string(p.y) + ", " + hexColour(p.r, p.g, p.b) + ")";
    }
    return text;
}

} // namespace tessel

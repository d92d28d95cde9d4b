// The palette editor's conversions between raw 5-bit components (0..31, as
// the ROM stores them) and 8-bit screen components.
#pragma once

#include <QString>
#include <algorithm>

namespace tessel {

inline constexpr int kRawMax = 31;

// Any number a field or control hands over, limited to 0..31.
constexpr int clampRaw(int value) { return std::clamp(value, 0, kRawMax); }

// How the editor shows a raw component: 8 v + 7 (0 -> 7, 31 -> 255).
constexpr int shownComponent(int raw) { return 8 * raw + 7; }

// The colour chooser opens with 0 for a raw 0, so that black stays black,
// and with 8 v + 7 otherwise.
constexpr int chooserComponent(int raw) { return raw == 0 ? 0 : shownComponent(raw); }

// A colour chosen in the chooser: the top five bits of each component.
constexpr int rawFromChosen(int component) { return (component >> 3) & kRawMax; }

// The 15-bit word the game stores for a raw colour: blue in bits 10-14,
// green in 5-9, red in 0-4.
constexpr int snesWord(int red, int green, int blue)
{
    return (clampRaw(blue) << 10) | (clampRaw(green) << 5) | clampRaw(red);
}

// The word as a SNES programmer writes it: "$7FFF".
inline QString snesWordText(int red, int green, int blue)
{
    return QStringLiteral("$%1").arg(snesWord(red, green, blue), 4, 16, QLatin1Char('0')).toUpper();
}

} // namespace tessel

// The palette editor's conversions between raw 5-bit components (0..31, as
// the ROM stores them) and 8-bit screen components.
#pragma once

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

} // namespace tessel

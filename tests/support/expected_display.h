// The display colour the synthetic ROM's palettes give a colour index, as
// worked out from the file format: index 0 is black; index k shows raw
// component v as 8 v + 7 (the display maps colours onto themselves).
#pragma once

#include "support/synthetic_rom.h"

namespace tessel::testing {

inline ExpectedColour expectedDisplayColour(int palette, int index)
{
    if (index == 0) return {0, 0, 0};
    const ExpectedColour raw = expectedRawColour(palette, index);
    return {8 * raw.red + 7, 8 * raw.green + 7, 8 * raw.blue + 7};
}

// The display colour of pixel (x, y) of sprite i as the ROM holds it.
inline ExpectedColour expectedSpriteColour(int sprite, int palette, int x, int y)
{
    return expectedDisplayColour(palette, expectedPixel(sprite, x, y));
}

} // namespace tessel::testing

// Checks of decoded sprites against the synthetic ROM they were read from.
#pragma once

#include <gtest/gtest.h>

#include "model/editor_state.h"
#include "support/synthetic_rom.h"

namespace tessel::testing {

// Every pixel of sprite i, the whole work area, as the generator made it.
inline void expectSpriteAsGenerated(const EditorState& state, int i)
{
    const SpriteRecord& r = state.document.spriteStore[i];
    for (int y = 0; y < kBufferHeight; ++y)
        for (int x = 0; x < kBufferWidth; ++x)
            ASSERT_EQ(r.pixels[y * 64 + x], expectedPixel(i, x, y))
                << "sprite " << i << " at " << x << "," << y;
}

} // namespace tessel::testing

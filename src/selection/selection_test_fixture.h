// The sprite and the simulated mouse that the selection, clipboard and flip
// tests share.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "model/editor_state.h"
#include "selection/selection.h"

namespace tessel {

// A 24 x 16 sprite whose every store byte (also beyond the sprite) differs
// from its neighbours and carries high bits, so misplaced copies show.
struct SelectionFixture : ::testing::Test {
    std::unique_ptr<EditorState> state = std::make_unique<EditorState>();
    static constexpr int W = 24, H = 16;

    void SetUp() override
    {
        state->currentSprite = 3;
        state->current().widthTiles = W / 8;
        state->current().heightTiles = H / 8;
        for (int i = 0; i < kBufferSize; ++i) state->current().pixels[i] = original(i % 64, i / 64);
        state->tools.currentTool = ToolId::Select;
        state->tools.backgroundIndex = 9;
    }
    static std::uint8_t original(int x, int y) { return static_cast<std::uint8_t>(x * 5 + y * 17 + 0x40); }
    std::uint8_t& px(int x, int y) { return state->current().pixels[y * 64 + x]; }

    // Gives sprite n a size and a store of bytes unlike those of original().
    void makeSprite(int n, int widthTiles, int heightTiles)
    {
        SpriteRecord& sprite = state->document.spriteStore[n];
        sprite.widthTiles = widthTiles;
        sprite.heightTiles = heightTiles;
        for (int i = 0; i < kBufferSize; ++i) sprite.pixels[i] = static_cast<std::uint8_t>(i * 3 + n);
    }

    // A client point that maps to sprite pixel (x, y). For pixels on the
    // sprite, dividing it by the zoom without taking off the margin gives
    // (x, y) as well. Division truncates toward zero, so the points for
    // negative pixels sit nearer zero within their four.
    static int clientOf(int v) { return v >= 0 ? 2 + 4 * v + 1 : 2 + 4 * v - 1; }
    static Point client(int x, int y) { return {clientOf(x), clientOf(y)}; }
    void press(int x, int y)
    {
        state->gesture.lastMousePos = client(x, y);
        state->gesture.leftDragging = true;
        selectionPress(*state, client(x, y));
    }
    void drag(int x, int y)
    {
        state->gesture.lastMousePos = client(x, y);
        selectionDrag(*state, client(x, y));
    }
    void release()
    {
        state->gesture.leftDragging = false;
        selectionRelease(*state);
    }
    void outline(int l, int t, int r, int b) // right and bottom exclusive
    {
        press(l, t);
        drag(r, b);
        release();
    }
};

} // namespace tessel

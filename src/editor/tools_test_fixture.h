// The sprite, palette and window stand-in that the drawing tool tests share.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "editor/mouse.h"
#include "model/editor_state.h"
#include "support/recording_view.h"

namespace tessel {

// Sprite 18 at 24 x 16 pixels, with a ROM "open". Every store byte (also
// beyond the sprite) differs from its neighbours and carries high bits, so
// any byte a tool should not touch shows when it changes.
struct ToolsFixture : ::testing::Test {
    std::unique_ptr<EditorState> state = std::make_unique<EditorState>();
    testing::RecordingView view;
    static constexpr int W = 24, H = 16;

    void SetUp() override
    {
        testing::attachForEditing(*state, view);
        state->currentSprite = 18;
        state->current().widthTiles = W / 8;
        state->current().heightTiles = H / 8;
        state->current().pixels = originalPixels();
        for (int i = 0; i < 16; ++i)
            setColour(i, Rgb{std::uint8_t(i * 16), std::uint8_t(200 - i * 8), 7});
        state->tools.foregroundIndex = 4;
        state->tools.backgroundIndex = 11;
    }

    static PixelBuffer originalPixels()
    {
        PixelBuffer p;
        for (int i = 0; i < kBufferSize; ++i)
            p[i] = static_cast<std::uint8_t>(0xA0 | ((i * 7 + i / 64) & 15));
        return p;
    }
    void setColour(int i, Rgb c)
    {
        state->currentDisplayPalette.red[i] = c.r;
        state->currentDisplayPalette.green[i] = c.g;
        state->currentDisplayPalette.blue[i] = c.b;
    }
    std::uint8_t& px(int x, int y) { return state->current().pixels[y * kBufferWidth + x]; }
    void fillSprite(std::uint8_t v)
    {
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) px(x, y) = v;
    }

    // A client point inside the 4 x 4 block of sprite pixel (x >= 0, y >= 0).
    static Point client(int x, int y) { return {2 + 4 * x + 1, 2 + 4 * y + 1}; }

    void leftDrag(Point from, Point to)
    {
        onLeftButtonDown(*state, from);
        onMouseMove(*state, to);
        onLeftButtonUp(*state);
    }
    void rightDrag(Point from, Point to)
    {
        onRightButtonDown(*state, from);
        onMouseMove(*state, to);
        onRightButtonUp(*state);
    }
    int undoLevels() const { return state->undo.top + 1; }
};

} // namespace tessel

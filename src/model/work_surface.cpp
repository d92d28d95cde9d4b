#include "model/work_surface.h"

namespace tessel {

void renderPixels(const PixelBuffer& pixels, int widthPixels, int heightPixels,
                  const DisplayPalette& palette, WorkSurface& out)
{
    std::array<Rgb, 16> colours;
    for (int i = 0; i < 16; ++i) colours[i] = colourOf(palette, i);
    for (int y = 0; y < kBufferHeight; ++y) {
        const int row = y * kBufferWidth;
        for (int x = 0; x < kBufferWidth; ++x) {
            out[row + x] = (y < heightPixels && x < widthPixels) ? colours[pixels[row + x] & 15]
                                                                 : kCanvasGrey;
        }
    }
}

void renderWorkSurface(const EditorState& state, WorkSurface& out)
{
    if (!state.hasSprite()) {
        out.fill(kCanvasGrey);
        return;
    }
    const SpriteRecord& s = state.current();
    renderPixels(s.pixels, s.widthPixels(), s.heightPixels(), state.currentDisplayPalette, out);
}

} // namespace tessel

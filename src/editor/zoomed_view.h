// The sprite at a whole zoom factor of its own, for a window bigger than the
// main canvas: where the magnified sprite lies in a view of any size, which
// sprite pixel a view point falls on, and the pixel-exact picture of it.
//
// A view's pointer event: view point -> spritePixelAt(layout) -> canvasPointOf
// -> the main canvas's mouse handlers (editor/mouse.h), so every tool acts
// exactly as it does on the canvas. A paint: renderWorkSurface -> paintZoomed
// into the view's 32-bit image (sprite pixels, grids, selection outline).
#pragma once

#include <cstdint>
#include <string>

#include "model/editor_state.h"
#include "model/work_surface.h"

namespace tessel {

inline constexpr int kMinViewZoom = 1;
inline constexpr int kMaxViewZoom = 32;
// Below this zoom a pixel grid would leave too little of each pixel to see.
inline constexpr int kPixelGridFromZoom = 6;
// The tile grid needs room beside the pixels: at 1x its lines would cover them.
inline constexpr int kTileGridFromZoom = 2;
inline constexpr int kTileSize = 8;
// The grids' lines, one view pixel wide on the first row and column of a
// sprite pixel (tile lines win where both cross), as 0xffRRGGBB.
inline constexpr std::uint32_t kPixelGridColour = 0xff505050u;
inline constexpr std::uint32_t kTileGridColour = 0xff40a0ffu;

struct ViewGrids {
    bool pixel = true;
    bool tile = true;
};

// The magnified sprite's place in a view: `zoom` view pixels per sprite
// pixel, its top-left corner at (left, top), centred (it may hang over the
// view's edges when it is bigger than the view).
struct ZoomedLayout {
    int zoom = 1;
    int left = 0, top = 0;
    int spriteWidth = 0, spriteHeight = 0;
    int viewWidth = 0, viewHeight = 0;
};

int clampViewZoom(int zoom);
// The largest zoom at which the whole sprite fits the view; 1 when even 1x
// does not fit, 32 when nothing is shown.
int fittingZoom(int viewWidth, int viewHeight, int spriteWidth, int spriteHeight);
// The sprite's size is clamped to the 64 x 80 buffer, the zoom to 1..32.
ZoomedLayout zoomedLayout(int viewWidth, int viewHeight, int spriteWidth, int spriteHeight, int zoom);
// The current sprite's size (0 x 0 without one).
ZoomedLayout zoomedLayout(const EditorState& state, int viewWidth, int viewHeight, int zoom);

// The sprite pixel under view point `view`, rounding down (points left of
// or above the sprite give negative pixels).
Point spritePixelAt(const ZoomedLayout& layout, Point view);
// A main-window client point that every canvas mapping (the tools', the
// selection's, the cursor's) reads as sprite pixel `pixel`.
Point canvasPointOf(Point pixel);

// Paints the view: canvas grey, the sprite's W x H from `surface`
// magnified, the pixel grid from 6x on and the tile grid (each when asked),
// then the dotted selection outline as the canvas draws it. `image` holds
// viewHeight rows of `stride` 32-bit 0xffRRGGBB pixels.
void paintZoomed(const EditorState& state, const WorkSurface& surface, const ZoomedLayout& layout,
                 ViewGrids grids, std::uint32_t* image, int stride);

// "x 3, y 7: colour 12" for a pixel of the current sprite; empty elsewhere.
std::string pixelUnderPointerText(const EditorState& state, Point pixel);

} // namespace tessel

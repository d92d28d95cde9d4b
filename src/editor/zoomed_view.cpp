#include "editor/zoomed_view.h"

#include <algorithm>
#include <cstring>

namespace tessel {

namespace {

constexpr std::uint32_t pack(Rgb c) { return 0xff000000u | (c.r << 16) | (c.g << 8) | c.b; }
constexpr std::uint32_t kGrey = pack(kCanvasGrey);
constexpr std::uint32_t kWhite = 0xffffffffu;

// Rounds toward minus infinity, as a point left of the sprite must.
int floorDiv(long long a, int b)
{
    long long q = a / b;
    if (a % b != 0 && a < 0) --q;
    return static_cast<int>(q);
}

struct Lines {
    bool pixel, tile;
    // The grid line on the first view column (or row) of sprite pixel `k`;
    // none on the sprite's outer edge.
    std::uint32_t at(int k, std::uint32_t otherwise) const
    {
        if (k <= 0) return otherwise;
        if (tile && k % kTileSize == 0) return kTileGridColour;
        if (pixel) return kPixelGridColour;
        return otherwise;
    }
};

// One view row across sprite row `sy` (or, for a grid row, the line).
void paintRow(std::uint32_t* row, const ZoomedLayout& l, const Rgb* spriteRow, const Lines& lines,
              std::uint32_t gridRowColour, bool gridRow)
{
    const int z = l.zoom;
    const long long spanEnd = static_cast<long long>(l.left) + static_cast<long long>(l.spriteWidth) * z;
    const int xs = std::max(l.left, 0);
    const int xe = static_cast<int>(std::min<long long>(spanEnd, l.viewWidth));
    std::fill(row, row + std::min(xs, l.viewWidth), kGrey);
    if (xe > xs) {
        for (int sx = (xs - l.left) / z, last = (xe - 1 - l.left) / z; sx <= last; ++sx) {
            const int from = std::max(xs, l.left + sx * z), to = std::min(xe, l.left + (sx + 1) * z);
            const std::uint32_t colour = gridRow ? gridRowColour : pack(spriteRow[sx]);
            std::fill(row + from, row + to, colour);
            // A tile row's line stays whole where pixel columns cross it.
            if (from == l.left + sx * z && !(gridRow && gridRowColour == kTileGridColour))
                row[from] = lines.at(sx, colour);
        }
    }
    std::fill(row + std::max(xe, xs), row + l.viewWidth, kGrey);
}

void dottedOutline(const Rect& selection, const ZoomedLayout& l, std::uint32_t* image, int stride)
{
    // As on the canvas: from (left, top) to (right, bottom) in sprite
    // pixels, first row and column covered, last not; white dots between
    // grey ones, clipped to the view.
    long long x1 = static_cast<long long>(selection.left) * l.zoom + l.left;
    long long y1 = static_cast<long long>(selection.top) * l.zoom + l.top;
    long long x2 = static_cast<long long>(selection.right) * l.zoom + l.left;
    long long y2 = static_cast<long long>(selection.bottom) * l.zoom + l.top;
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    if (x2 - x1 < 1 || y2 - y1 < 1) return;
    const long long right = x2 - 1, bottom = y2 - 1;
    auto dot = [&](long long x, long long y) {
        if (x < 0 || y < 0 || x >= l.viewWidth || y >= l.viewHeight) return;
        image[y * stride + x] = ((x + y) & 1) == 0 ? kWhite : kGrey;
    };
    for (long long x = std::max(x1, 0LL), e = std::min<long long>(right, l.viewWidth - 1); x <= e; ++x) {
        dot(x, y1);
        dot(x, bottom);
    }
    for (long long y = std::max(y1, 0LL), e = std::min<long long>(bottom, l.viewHeight - 1); y <= e; ++y) {
        dot(x1, y);
        dot(right, y);
    }
}

} // namespace

int clampViewZoom(int zoom) { return std::clamp(zoom, kMinViewZoom, kMaxViewZoom); }

int fittingZoom(int viewWidth, int viewHeight, int spriteWidth, int spriteHeight)
{
    if (spriteWidth <= 0 || spriteHeight <= 0) return kMaxViewZoom;
    return clampViewZoom(std::min(viewWidth / spriteWidth, viewHeight / spriteHeight));
}

ZoomedLayout zoomedLayout(int viewWidth, int viewHeight, int spriteWidth, int spriteHeight, int zoom)
{
    ZoomedLayout l;
    l.zoom = clampViewZoom(zoom);
    l.viewWidth = std::max(viewWidth, 0);
    l.viewHeight = std::max(viewHeight, 0);
    l.spriteWidth = std::clamp(spriteWidth, 0, kBufferWidth);
    l.spriteHeight = std::clamp(spriteHeight, 0, kBufferHeight);
    l.left = floorDiv(l.viewWidth - l.spriteWidth * l.zoom, 2);
    l.top = floorDiv(l.viewHeight - l.spriteHeight * l.zoom, 2);
    return l;
}

ZoomedLayout zoomedLayout(const EditorState& state, int viewWidth, int viewHeight, int zoom)
{
    const bool shown = state.romOpen() && state.hasSprite();
    return zoomedLayout(viewWidth, viewHeight, shown ? state.current().widthPixels() : 0,
                        shown ? state.current().heightPixels() : 0, zoom);
}

Point spritePixelAt(const ZoomedLayout& layout, Point view)
{
    return {floorDiv(static_cast<long long>(view.x) - layout.left, layout.zoom),
            floorDiv(static_cast<long long>(view.y) - layout.top, layout.zoom)};
}

Point canvasPointOf(Point pixel)
{
    // The tools read (p - margin) / zoom and the selection p / zoom, both
    // truncating toward zero: 4s + 2 gives s to both for s >= 0, and 4s - 1
    // gives s to both for s < 0 (so no point left of the sprite reads as
    // its column 0). Far-off pixels are clamped where int would overflow.
    auto one = [](int s) {
        const long long c = s >= 0 ? 4LL * s + kCanvasMargin : 4LL * s - 1;
        return static_cast<int>(std::clamp<long long>(c, -(1LL << 30), 1LL << 30));
    };
    static_assert(kZoom == 4 && kCanvasMargin == 2, "the mapping above is worked out for the 4x canvas");
    return {one(pixel.x), one(pixel.y)};
}

void paintZoomed(const EditorState& state, const WorkSurface& surface, const ZoomedLayout& l,
                 ViewGrids grids, std::uint32_t* image, int stride)
{
    const Lines lines{grids.pixel && l.zoom >= kPixelGridFromZoom, grids.tile && l.zoom >= kTileGridFromZoom};
    const int z = l.zoom;
    int sy = -1;         // the sprite row whose content row was painted last
    int contentRow = -1; // the view row holding it, to copy from
    for (int y = 0; y < l.viewHeight; ++y) {
        std::uint32_t* row = image + static_cast<long long>(y) * stride;
        const int rowPixel = floorDiv(static_cast<long long>(y) - l.top, z);
        if (rowPixel < 0 || rowPixel >= l.spriteHeight || l.spriteWidth == 0) {
            std::fill(row, row + l.viewWidth, kGrey);
            continue;
        }
        const bool firstOfPixel = (y - l.top) % z == 0;
        const std::uint32_t line = lines.at(rowPixel, 0);
        if (firstOfPixel && line != 0) {
            paintRow(row, l, nullptr, lines, line, true);
            continue;
        }
        if (rowPixel == sy && contentRow >= 0) {
            std::memcpy(row, image + static_cast<long long>(contentRow) * stride,
                        sizeof(std::uint32_t) * l.viewWidth);
            continue;
        }
        paintRow(row, l, &surface[rowPixel * kBufferWidth], lines, 0, false);
        sy = rowPixel;
        contentRow = y;
    }
    if (state.romOpen() && state.hasSprite()) dottedOutline(state.selection.selectionRect, l, image, stride);
}

std::string pixelUnderPointerText(const EditorState& state, Point pixel)
{
    if (!state.romOpen() || !state.hasSprite()) return {};
    const SpriteRecord& r = state.current();
    if (pixel.x < 0 || pixel.y < 0 || pixel.x >= std::min(r.widthPixels(), kBufferWidth) ||
        pixel.y >= std::min(r.heightPixels(), kBufferHeight))
        return {};
    return "x " + std::to_string(pixel.x) + ", y " + std::to_string(pixel.y) + ": colour " +
           std::to_string(r.pixels[pixel.y * kBufferWidth + pixel.x] & 15);
}

} // namespace tessel

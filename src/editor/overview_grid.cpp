#include "editor/overview_grid.h"

#include <algorithm>
#include <array>

#include "model/edit_marks.h"

namespace tessel {

namespace {

using Glyph = std::array<const char*, kOverviewMarkSize>;
constexpr Glyph kStar = {"...#...", "..###..", "#######", ".#####.", "..###..", ".##.##.", "##...##"};
constexpr Glyph kDiamond = {"...#...", "..###..", ".#####.", "#######", ".#####.", "..###..", "...#..."};
constexpr Glyph kDot = {"..###..", ".#####.", "#######", "#######", "#######", ".#####.", "..###.."};

Rect intersected(const Rect& a, const Rect& b)
{
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}

class Canvas {
public:
    Canvas(std::uint32_t* image, int stride, Rect clip) : image_(image), stride_(stride), clip_(clip) {}

    void fill(const Rect& r, std::uint32_t colour) const
    {
        const Rect c = intersected(r, clip_);
        if (c.isEmpty()) return;
        for (int y = c.top; y < c.bottom; ++y)
            std::fill(row(y) + c.left, row(y) + c.right, colour);
    }
    // The rectangle's edge, `width` pixels thick, inside it.
    void frame(const Rect& r, int width, std::uint32_t colour) const
    {
        fill({r.left, r.top, r.right, r.top + width}, colour);
        fill({r.left, r.bottom - width, r.right, r.bottom}, colour);
        fill({r.left, r.top + width, r.left + width, r.bottom - width}, colour);
        fill({r.right - width, r.top + width, r.right, r.bottom - width}, colour);
    }
    // A 1-pixel edge in dashes of two pixels, on where (x + y) / 2 is even.
    void dashedFrame(const Rect& r, std::uint32_t colour) const
    {
        auto dot = [&](int x, int y) {
            if (((x + y) >> 1 & 1) == 0 && clip_.contains({x, y})) row(y)[x] = colour;
        };
        for (int x = r.left; x < r.right; ++x) {
            dot(x, r.top);
            dot(x, r.bottom - 1);
        }
        for (int y = r.top + 1; y < r.bottom - 1; ++y) {
            dot(r.left, y);
            dot(r.right - 1, y);
        }
    }
    void glyph(const Glyph& g, Point at, std::uint32_t colour) const
    {
        for (int y = 0; y < kOverviewMarkSize; ++y)
            for (int x = 0; x < kOverviewMarkSize; ++x)
                if (g[y][x] == '#' && clip_.contains({at.x + x, at.y + y})) row(at.y + y)[at.x + x] = colour;
    }
    std::uint32_t* row(int y) const { return image_ + static_cast<std::ptrdiff_t>(y) * stride_; }

private:
    std::uint32_t* image_;
    int stride_;
    Rect clip_;
};

using PaletteColours = std::array<std::array<std::uint32_t, kColoursPerPalette>, kPaletteCount>;

PaletteColours paletteColours(const RomDocument& document)
{
    PaletteColours out;
    for (int p = 0; p < kPaletteCount; ++p)
        for (int i = 0; i < kColoursPerPalette; ++i) {
            const Rgb c = colourOf(document.displayPalettes[p], i);
            out[p][i] = 0xff000000u | std::uint32_t(c.r) << 16 | std::uint32_t(c.g) << 8 | c.b;
        }
    return out;
}

void fillSpan(std::uint32_t* row, int from, int to, std::uint32_t colour)
{
    if (from < to) std::fill(row + from, row + to, colour);
}

// One view row of a cell's box, [x0, x1) of it: black, and across the
// sprite's rows its pixels, each `scale` view pixels wide.
void paintBoxRow(std::uint32_t* row, int x0, int x1, const Rect& box, int rowInBox, const SpriteRecord& r,
                 const std::array<std::uint32_t, kColoursPerPalette>& colours, int scale)
{
    const int w = std::clamp(r.widthPixels(), 0, kBufferWidth), h = std::clamp(r.heightPixels(), 0, kBufferHeight);
    const int left = box.left + (kBufferWidth / 2 - w / 2) * scale;
    const int top = (kBufferHeight / 2 - h / 2) * scale;
    if (rowInBox < top || rowInBox >= top + h * scale) return fillSpan(row, x0, x1, 0xff000000u);
    const int spriteLeft = std::max(x0, left), spriteRight = std::min(x1, left + w * scale);
    fillSpan(row, x0, std::min(x1, left), 0xff000000u);
    const std::uint8_t* source = r.pixels.data() + (rowInBox - top) / scale * kBufferWidth;
    if (scale == 1) {
        for (int x = spriteLeft; x < spriteRight; ++x) row[x] = colours[source[x - left] & 15];
    } else if (scale == 2) {
        for (int x = spriteLeft; x < spriteRight; ++x) row[x] = colours[source[(x - left) >> 1] & 15];
    } else {
        for (int x = spriteLeft; x < spriteRight; ++x) row[x] = colours[source[(x - left) / scale] & 15];
    }
    fillSpan(row, std::max(x0, left + w * scale), x1, 0xff000000u);
}

} // namespace

int OverviewLayout::columns() const { return std::max(1, viewWidth / cellWidth()); }

int OverviewLayout::rows() const { return (count + columns() - 1) / columns(); }

int OverviewLayout::left() const { return std::max(0, (viewWidth - columns() * cellWidth()) / 2); }

Rect OverviewLayout::cellRect(int index, int scrollY) const
{
    const int x = left() + index % columns() * cellWidth();
    const int y = index / columns() * cellHeight() - scrollY;
    return {x, y, x + cellWidth(), y + cellHeight()};
}

Rect OverviewLayout::boxRect(int index, int scrollY) const
{
    const Rect cell = cellRect(index, scrollY);
    return {cell.left + kOverviewPad, cell.top + kOverviewPad, cell.left + kOverviewPad + boxWidth(),
            cell.top + kOverviewPad + boxHeight()};
}

Rect OverviewLayout::numberRect(int index, int scrollY) const
{
    const Rect cell = cellRect(index, scrollY);
    const int top = boxRect(index, scrollY).bottom + kOverviewPad;
    // Clear of the two marks on the left and the one on the right.
    return {cell.left + kOverviewPad + 2 * kOverviewMarkSize + 4, top,
            cell.right - kOverviewPad - kOverviewMarkSize - 2, top + lineHeight};
}

Rect OverviewLayout::nameRect(int index, int scrollY) const
{
    if (labelLines < 2) return {};
    const Rect cell = cellRect(index, scrollY);
    const int top = boxRect(index, scrollY).bottom + kOverviewPad + lineHeight;
    return {cell.left + kOverviewPad, top, cell.right - kOverviewPad, top + lineHeight};
}

int OverviewLayout::indexAt(Point view, int scrollY) const
{
    const int x = view.x - left(), y = view.y + scrollY;
    if (x < 0 || y < 0 || x >= columns() * cellWidth()) return -1;
    const int index = y / cellHeight() * columns() + x / cellWidth();
    return index < count ? index : -1;
}

int OverviewLayout::firstIndexIn(int y0, int scrollY) const
{
    return std::clamp(std::max(0, y0 + scrollY) / cellHeight() * columns(), 0, count);
}

int OverviewLayout::endIndexIn(int y1, int scrollY) const
{
    const int bottom = y1 + scrollY;
    if (bottom <= 0) return 0;
    return std::clamp(((bottom - 1) / cellHeight() + 1) * columns(), 0, count);
}

void paintOverview(const RomDocument& document, const OverviewLayout& layout, const std::vector<int>& sprites,
                   int scrollY, int current, int cursor, const SpriteTagsSource& tags, Rect clip,
                   std::uint32_t* image, int stride)
{
    clip = intersected(clip, {0, 0, layout.viewWidth, layout.viewHeight});
    if (clip.isEmpty()) return;
    const Canvas canvas(image, stride, clip);
    const PaletteColours colours = paletteColours(document);
    const int count = std::min(layout.count, static_cast<int>(sprites.size()));
    const int columns = layout.columns(), cellWidth = layout.cellWidth(), cellHeight = layout.cellHeight();
    // Row by row, every pixel once: the background, and across the boxes'
    // rows the boxes between it.
    for (int y = clip.top; y < clip.bottom; ++y) {
        std::uint32_t* row = canvas.row(y);
        const int gridY = y + scrollY;
        const int rowInBox = gridY < 0 ? -1 : gridY % cellHeight - kOverviewPad;
        const int first = gridY < 0 ? count : gridY / cellHeight * columns;
        if (rowInBox < 0 || rowInBox >= layout.boxHeight() || first >= count) {
            fillSpan(row, clip.left, clip.right, kOverviewBackground);
            continue;
        }
        int x = clip.left;
        for (int i = first; i < std::min(count, first + columns); ++i) {
            const int boxLeft = layout.left() + (i - first) * cellWidth + kOverviewPad;
            const Rect box{boxLeft, 0, boxLeft + layout.boxWidth(), 0};
            fillSpan(row, x, std::min(clip.right, box.left), kOverviewBackground);
            x = std::max(x, box.left);
            const int end = std::min(clip.right, box.right);
            const int s = sprites[i];
            if (s >= 0 && s < kSpriteCount && x < end) {
                const SpriteRecord& r = document.spriteStore[s];
                paintBoxRow(row, x, end, box, rowInBox, r, colours[r.paletteIndex & 31], layout.scale);
            }
            x = std::max(x, end);
        }
        fillSpan(row, x, clip.right, kOverviewBackground);
    }
    // Then what lies over them: frames and marks.
    const int end = std::min(count, layout.endIndexIn(clip.bottom, scrollY));
    for (int i = layout.firstIndexIn(clip.top, scrollY); i < end; ++i) {
        const int s = sprites[i];
        if (s < 0 || s >= kSpriteCount) continue;
        const Rect cell = layout.cellRect(i, scrollY);
        const Rect box = layout.boxRect(i, scrollY);
        if (s == current) canvas.frame({box.left - 2, box.top - 2, box.right + 2, box.bottom + 2}, 2, kOverviewCurrentFrame);
        if (i == cursor) canvas.dashedFrame(cell, kOverviewCursorFrame);
        const SpriteTags t = tags ? tags(s) : SpriteTags{};
        const int markTop = box.bottom + kOverviewPad + (layout.lineHeight - kOverviewMarkSize) / 2;
        if (t.starred) canvas.glyph(kStar, {cell.left + kOverviewPad, markTop}, kOverviewStarColour);
        if (t.differs)
            canvas.glyph(kDiamond, {cell.left + kOverviewPad + kOverviewMarkSize + 2, markTop}, kOverviewDiffersColour);
        if (isSpriteEdited(document, s))
            canvas.glyph(kDot, {cell.right - kOverviewPad - kOverviewMarkSize, markTop}, kOverviewEditColour);
    }
}

} // namespace tessel

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
    // The sprite's w x h pixels, each as s x s view pixels from `origin`.
    void sprite(const SpriteRecord& r, const DisplayPalette& palette, Point origin, int s) const
    {
        const int w = std::clamp(r.widthPixels(), 0, kBufferWidth);
        const int h = std::clamp(r.heightPixels(), 0, kBufferHeight);
        std::array<std::uint32_t, kColoursPerPalette> colours;
        for (int i = 0; i < kColoursPerPalette; ++i) {
            const Rgb c = colourOf(palette, i);
            colours[i] = 0xff000000u | std::uint32_t(c.r) << 16 | std::uint32_t(c.g) << 8 | c.b;
        }
        const Rect c = intersected({origin.x, origin.y, origin.x + w * s, origin.y + h * s}, clip_);
        for (int y = c.top; y < c.bottom; ++y) {
            const std::uint8_t* source = r.pixels.data() + (y - origin.y) / s * kBufferWidth;
            std::uint32_t* out = row(y);
            for (int x = c.left; x < c.right; ++x) out[x] = colours[source[(x - origin.x) / s] & 15];
        }
    }

private:
    std::uint32_t* row(int y) const { return image_ + static_cast<std::ptrdiff_t>(y) * stride_; }

    std::uint32_t* image_;
    int stride_;
    Rect clip_;
};

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
    canvas.fill(clip, kOverviewBackground);
    const int count = std::min(layout.count, static_cast<int>(sprites.size()));
    const int end = std::min(count, layout.endIndexIn(clip.bottom, scrollY));
    for (int i = layout.firstIndexIn(clip.top, scrollY); i < end; ++i) {
        const int s = sprites[i];
        if (s < 0 || s >= kSpriteCount) continue;
        const Rect cell = layout.cellRect(i, scrollY);
        if (intersected(cell, clip).isEmpty()) continue;
        const Rect box = layout.boxRect(i, scrollY);
        if (s == current) canvas.frame({box.left - 2, box.top - 2, box.right + 2, box.bottom + 2}, 2, kOverviewCurrentFrame);
        canvas.fill(box, 0xff000000u);
        const SpriteRecord& r = document.spriteStore[s];
        const int w = std::clamp(r.widthPixels(), 0, kBufferWidth), h = std::clamp(r.heightPixels(), 0, kBufferHeight);
        const Point origin{box.left + (kBufferWidth / 2 - w / 2) * layout.scale,
                           box.top + (kBufferHeight / 2 - h / 2) * layout.scale};
        canvas.sprite(r, document.displayPalettes[r.paletteIndex & 31], origin, layout.scale);
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

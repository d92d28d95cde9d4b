// The Sprite Overview's grid: where each shown sprite's cell lies in a
// scrolled view, and the pixel-exact picture of the cells in sight (the
// window writes the numbers and names into the places left for them).
//
// A cell, `scale` (1 or 2) view pixels per sprite pixel:
//   pad 4 | a black 64s x 80s box, the sprite centred on it | pad 4
//   below the box, after the pad: the label strip of labelLines lines,
//   the first with the star and "differs" marks at its left, the edit mark
//   at its right and the number between them, the second (when there is
//   one) with the name across the cell.
// The current sprite's box has a 2-pixel frame in the pad; the keyboard
// cursor is a dashed 1-pixel frame on the cell's edge. Cells run left to
// right, then down, the grid centred across the view.
//
// A paint: layout from the view's size, scale and font -> paintOverview()
// into the view's 32-bit image, inside a clip -> the window draws the text.
#pragma once

#include <cstdint>
#include <vector>

#include "editor/sprite_filter.h"
#include "model/geometry.h"

namespace tessel {

inline constexpr int kOverviewPad = 4;
inline constexpr int kOverviewMarkSize = 7;
// 0xffRRGGBB.
inline constexpr std::uint32_t kOverviewBackground = 0xff2b2b2bu;
inline constexpr std::uint32_t kOverviewCurrentFrame = 0xff4aa3ffu;
inline constexpr std::uint32_t kOverviewCursorFrame = 0xffffffffu;
inline constexpr std::uint32_t kOverviewStarColour = 0xffffd700u;
inline constexpr std::uint32_t kOverviewDiffersColour = 0xff00c8c8u;
inline constexpr std::uint32_t kOverviewEditColour = 0xffff8000u; // as the browser's edit bar

struct OverviewLayout {
    int viewWidth = 0, viewHeight = 0;
    int scale = 1;
    int lineHeight = 14; // one line of label text
    int labelLines = 1;
    int count = 0; // cells

    int boxWidth() const { return kBufferWidth * scale; }
    int boxHeight() const { return kBufferHeight * scale; }
    int cellWidth() const { return boxWidth() + 2 * kOverviewPad; }
    int cellHeight() const { return boxHeight() + 2 * kOverviewPad + lineHeight * labelLines; }
    int columns() const;
    int rows() const;
    int contentHeight() const { return rows() * cellHeight(); }
    int left() const; // of the first column

    // In view pixels with the grid scrolled up by scrollY.
    Rect cellRect(int index, int scrollY) const;
    Rect boxRect(int index, int scrollY) const;
    Rect numberRect(int index, int scrollY) const;
    Rect nameRect(int index, int scrollY) const; // empty with one label line
    // The cell under a view point, or -1.
    int indexAt(Point view, int scrollY) const;
    // The cells that a band of the view from y0 to y1 (exclusive) shows.
    int firstIndexIn(int y0, int scrollY) const;
    int endIndexIn(int y1, int scrollY) const; // one past the last
};

// Paints the part of the view inside `clip`: background, then each cell of
// `sprites` (the sprite numbers shown, in order) that meets it. `current`
// is the current sprite (-1: none), `cursor` an index into `sprites` (-1:
// none). `tags` gives the star and differs marks (may be empty). `image`
// holds viewHeight rows of `stride` pixels.
void paintOverview(const RomDocument& document, const OverviewLayout& layout, const std::vector<int>& sprites,
                   int scrollY, int current, int cursor, const SpriteTagsSource& tags, Rect clip,
                   std::uint32_t* image, int stride);

} // namespace tessel

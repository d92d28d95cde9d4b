#include "raster/flood_fill.h"

#include <array>
#include <bit>

namespace tessel {

GridMask connectedArea(const GridMask& region, Point seed)
{
    GridMask area;
    if (!region.test(seed.x, seed.y)) return area;
    // Each run that gets filled pushes at most one seed per run of its
    // neighbour rows beneath it, so the stack never holds more than twice
    // the grid's pixels; it lives on the stack, nothing is allocated.
    std::array<std::uint16_t, 2 * kGridWidth * kGridHeight + 2> stack;
    std::size_t size = 0;
    stack[size++] = static_cast<std::uint16_t>(seed.y * kGridWidth + seed.x);
    while (size > 0) {
        const int at = stack[--size];
        const int x = at % kGridWidth, y = at / kGridWidth;
        const std::uint64_t open = region.rows[y] & ~area.rows[y];
        if (!((open >> x) & 1u)) continue; // filled by an earlier run
        // The run of open pixels through x: up to the first closed pixel on
        // each side.
        const std::uint64_t closedAbove = ~open & (x == 63 ? 0 : ~std::uint64_t{0} << (x + 1));
        const std::uint64_t closedBelow = ~open & ((std::uint64_t{1} << x) - 1);
        const int to = closedAbove ? std::countr_zero(closedAbove) : kGridWidth;
        const int from = closedBelow ? kGridWidth - std::countl_zero(closedBelow) : 0;
        const std::uint64_t run = spanBits(from, to);
        area.rows[y] |= run;
        for (int ny : {y - 1, y + 1}) {
            if (ny < 0 || ny >= kGridHeight) continue;
            const std::uint64_t next = region.rows[ny] & ~area.rows[ny] & run;
            for (std::uint64_t starts = next & ~(next << 1); starts; starts &= starts - 1)
                stack[size++] =
                    static_cast<std::uint16_t>(ny * kGridWidth + std::countr_zero(starts));
        }
    }
    return area;
}

} // namespace tessel

// A set of pixels on the 64 x 80 drawing grid, one 64-bit word per row
// (bit x of row y is pixel (x, y)). Figures and fills produce these masks;
// the tools turn them into index writes with forEachPixel().
#pragma once

#include <array>
#include <bit>
#include <cstdint>

namespace tessel {

inline constexpr int kGridWidth = 64;
inline constexpr int kGridHeight = 80;

struct GridMask {
    std::array<std::uint64_t, kGridHeight> rows{};

    static bool onGrid(int x, int y)
    {
        return x >= 0 && x < kGridWidth && y >= 0 && y < kGridHeight;
    }
    bool test(int x, int y) const { return onGrid(x, y) && ((rows[y] >> x) & 1u); }
    void set(int x, int y)
    {
        if (onGrid(x, y)) rows[y] |= std::uint64_t{1} << x;
    }
    // Sets columns [from, to) of row y, clipped to the grid. Any int range.
    void setSpan(int y, long long from, long long to);

    int count() const
    {
        int n = 0;
        for (std::uint64_t r : rows) n += std::popcount(r);
        return n;
    }
    bool empty() const { return count() == 0; }

    GridMask& operator|=(const GridMask& o)
    {
        for (int y = 0; y < kGridHeight; ++y) rows[y] |= o.rows[y];
        return *this;
    }
    // Removes every pixel of `o` from this mask.
    void remove(const GridMask& o)
    {
        for (int y = 0; y < kGridHeight; ++y) rows[y] &= ~o.rows[y];
    }
    friend bool operator==(const GridMask&, const GridMask&) = default;
};

// Bits [from, to) of a row word; callers keep 0 <= from <= to <= 64.
inline std::uint64_t spanBits(int from, int to)
{
    if (from >= to) return 0;
    const std::uint64_t upTo = to >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << to) - 1;
    return upTo & ~((std::uint64_t{1} << from) - 1);
}

inline void GridMask::setSpan(int y, long long from, long long to)
{
    if (y < 0 || y >= kGridHeight) return;
    if (from < 0) from = 0;
    if (to > kGridWidth) to = kGridWidth;
    if (from < to) rows[y] |= spanBits(static_cast<int>(from), static_cast<int>(to));
}

// Calls f(x, y) for every pixel of the mask, row by row, left to right.
template <class Fn>
void forEachPixel(const GridMask& mask, Fn&& f)
{
    for (int y = 0; y < kGridHeight; ++y) {
        for (std::uint64_t bits = mask.rows[y]; bits != 0; bits &= bits - 1)
            f(std::countr_zero(bits), y);
    }
}

} // namespace tessel

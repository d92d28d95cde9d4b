#include "interchange/sprite_sheet.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

#include "interchange/colour_mapping.h"
#include "file/file_access.h"
#include "interchange/png_image.h"

namespace tessel {
namespace {

constexpr std::size_t kMaxListedSprites = 10;

std::string checkSprites(std::span<const SpriteView> sprites, std::size_t paletteCount)
{
    if (sprites.empty()) return "There are no sprites";
    for (std::size_t i = 0; i < sprites.size(); ++i)
        if (std::string bad = checkSpriteView(sprites[i], static_cast<int>(paletteCount),
                                              "Sprite " + std::to_string(i));
            !bad.empty())
            return bad;
    return {};
}

std::size_t cellOffset(int sprite, const SheetSize& sheet)
{
    const auto x = static_cast<std::size_t>(sprite % kSheetColumns) * kSheetCellWidth;
    const auto y = static_cast<std::size_t>(sprite / kSheetColumns) * kSheetCellHeight;
    return 4 * (y * static_cast<std::size_t>(sheet.width) + x);
}

// "3, 7-9, 15"
std::string spriteRanges(const std::vector<int>& sprites)
{
    std::string text;
    for (std::size_t i = 0; i < sprites.size();) {
        std::size_t j = i;
        while (j + 1 < sprites.size() && sprites[j + 1] == sprites[j] + 1) ++j;
        if (!text.empty()) text += ", ";
        text += std::to_string(sprites[i]);
        if (j > i) text += "-" + std::to_string(sprites[j]);
        i = j + 1;
    }
    return text;
}

// "1, 2, 5, and 3 more": the first ten of `sprites`.
std::string firstSprites(const std::vector<int>& sprites)
{
    std::string text;
    const std::size_t shown = std::min<std::size_t>(sprites.size(), kMaxListedSprites);
    for (std::size_t i = 0; i < shown; ++i) text += (i ? ", " : "") + std::to_string(sprites[i]);
    if (sprites.size() > shown) text += " and " + std::to_string(sprites.size() - shown) + " more";
    return text;
}

bool isWhite(const UnmatchedPixel& p) { return p.r == 255 && p.g == 255 && p.b == 255; }

// Maps the sheet as it is decoded, one row at a time: the 32 sprites of the
// current row of cells are worked on in copies of their stores, and each is
// compared with its own store once its row of cells is complete. A palette
// sheet's cell is taken index for index when the sheet's palette names the
// sprite's colours for every value the cell uses (valuesAreIndices), so
// whether a cell is refused is known only at its last row.
class SheetMapper {
public:
    SheetMapper(std::span<const SpriteView> sprites, std::span<const RawPalette> palettes)
        : sprites_(sprites), palettes_(palettes), matchers_(palettes.size())
    {
    }

    void row(const PngImage& picture, int y, const std::uint8_t* rgba, const std::uint8_t* indices)
    {
        const int first = (y / kSheetCellHeight) * kSheetColumns, line = y % kSheetCellHeight;
        const int count = std::min<int>(kSheetColumns, static_cast<int>(sprites_.size()) - first);
        for (int c = 0; c < count; ++c) {
            const SpriteView& sprite = sprites_[first + c];
            Cell& cell = cells_[c];
            if (line == 0) {
                std::copy(sprite.pixels, sprite.pixels + kBufferSize, cell.mapped.begin());
                cell.values = cell.mapped;
                cell.used = {};
                cell.unmatched = 0;
                cell.firstUnmatched.clear();
            }
            if (line >= sprite.height) continue;
            if (indices) {
                const std::uint8_t* from = indices + kSheetCellWidth * c;
                std::copy_n(from, sprite.width, cell.values.data() + line * kBufferWidth);
                for (int x = 0; x < sprite.width; ++x) cell.used[from[x]] = true;
            }
            std::uint8_t* to = cell.mapped.data() + line * kBufferWidth;
            const MappingResult mapped = mapColours(rgba + 4 * kSheetCellWidth * c, 0, sprite.width, 1,
                                                    matcher(sprite.palette), to, to, kBufferWidth,
                                                    c * kSheetCellWidth, y);
            cell.unmatched += mapped.unmatchedCount;
            for (const UnmatchedPixel& p : mapped.firstUnmatched)
                if (cell.firstUnmatched.size() < kMaxListedUnmatched) cell.firstUnmatched.push_back(p);
        }
        if (line != kSheetCellHeight - 1) return;
        for (int c = 0; c < count; ++c) {
            Cell& cell = cells_[c];
            const SpriteView& sprite = sprites_[first + c];
            const bool byIndex =
                picture.indexed && valuesAreIndices(cell.used, picture.palette, palettes_[sprite.palette]);
            if (byIndex) {
                cell.mapped = cell.values;
            } else if (cell.unmatched > 0) {
                refused_.push_back(first + c);
                unmatched_ += cell.unmatched;
                for (const UnmatchedPixel& p : cell.firstUnmatched) {
                    allWhite_ = allWhite_ && isWhite(p);
                    if (firstUnmatched_.size() < kMaxListedUnmatched) firstUnmatched_.push_back(p);
                }
            }
        }
        if (refused_.empty())
            for (int c = 0; c < count; ++c) keepIfChanged(first + c, cells_[c].mapped);
    }

    Outcome<SheetImport> result()
    {
        using Result = Outcome<SheetImport>;
        if (!refused_.empty()) {
            std::string message = std::to_string(unmatched_) + (unmatched_ == 1 ? " pixel" : " pixels") + " of " +
                                  (refused_.size() == 1 ? "sprite " : "sprites ") + spriteRanges(refused_) +
                                  (unmatched_ == 1 ? " matches" : " match") +
                                  " no colour of the sprite's palette; nothing was changed. First (x, y on the "
                                  "sheet): " +
                                  listUnmatched(firstUnmatched_) + (unmatched_ > kMaxListedUnmatched ? ", ..." : "");
            if (allWhite_)
                message += ". The sheet's colour 0 looks flattened onto white: save it with transparency kept";
            return Result::failure(message);
        }
        const std::vector<int>& changed = imported_.changedSprites;
        const std::size_t n = changed.size();
        imported_.message = n == 0   ? "No sprite changed"
                            : n == 1 ? "1 sprite changed: " + firstSprites(changed)
                                     : std::to_string(n) + " sprites changed: " + firstSprites(changed);
        return Result::success(std::move(imported_));
    }

private:
    struct Cell {
        PixelBuffer mapped{}; // matched by colour
        PixelBuffer values{}; // a palette sheet's own values
        UsedValues used{};
        long long unmatched = 0;
        std::vector<UnmatchedPixel> firstUnmatched;
    };

    const ColourMatcher& matcher(int palette)
    {
        auto& m = matchers_[static_cast<std::size_t>(palette)];
        if (!m) m = std::make_unique<ColourMatcher>(matchingColours(palettes_[palette]));
        return *m;
    }

    void keepIfChanged(int i, const PixelBuffer& pixels)
    {
        const SpriteView& sprite = sprites_[i];
        for (int y = 0; y < sprite.height; ++y)
            for (int x = 0; x < sprite.width; ++x)
                if ((sprite.pixels[y * kBufferWidth + x] & 15) != pixels[y * kBufferWidth + x]) {
                    imported_.changedSprites.push_back(i);
                    imported_.changedPixels.push_back(pixels);
                    return;
                }
    }

    std::span<const SpriteView> sprites_;
    std::span<const RawPalette> palettes_;
    std::vector<std::unique_ptr<ColourMatcher>> matchers_;
    std::array<Cell, kSheetColumns> cells_{};
    std::vector<int> refused_; // ascending: cells finish in sprite order
    std::vector<UnmatchedPixel> firstUnmatched_;
    long long unmatched_ = 0;
    bool allWhite_ = true;
    SheetImport imported_;
};

Outcome<SheetImport> takeSheet(std::span<const std::uint8_t> png, std::span<const SpriteView> sprites,
                               std::span<const RawPalette> palettes)
{
    const SheetSize sheet = sheetSize(static_cast<int>(sprites.size()));
    SheetMapper mapper(sprites, palettes);
    const auto decoded = decodePngRows(png, {sheet.width, sheet.height},
                                       [&](const PngImage& picture, int y, const std::uint8_t* rgba,
                                           const std::uint8_t* indices) {
                                           // Rows of a sheet of another size are refused below.
                                           if (picture.width == sheet.width && picture.height == sheet.height)
                                               mapper.row(picture, y, rgba, indices);
                                       });
    if (std::string bad = checkPictureSize(decoded, sheet.width, sheet.height,
                                           std::to_string(sprites.size()) + " sprites make a sheet of");
        !bad.empty())
        return Outcome<SheetImport>::failure(bad);
    return mapper.result();
}

} // namespace

SheetSize sheetSize(int spriteCount)
{
    const int rows = (std::max(spriteCount, 0) + kSheetColumns - 1) / kSheetColumns;
    return {kSheetColumns * kSheetCellWidth, rows * kSheetCellHeight};
}

Outcome<std::vector<std::uint8_t>> renderSheet(std::span<const SpriteView> sprites,
                                               std::span<const DisplayPalette> palettes)
{
    using Result = Outcome<std::vector<std::uint8_t>>;
    if (std::string bad = checkSprites(sprites, palettes.size()); !bad.empty()) return Result::failure(bad);
    const SheetSize sheet = sheetSize(static_cast<int>(sprites.size()));
    std::vector<std::uint8_t> rgba(4 * static_cast<std::size_t>(sheet.width) * sheet.height, 0);

    // Every palette as 16 ready RGBA words; colour 0 stays all zero.
    std::vector<std::array<std::array<std::uint8_t, 4>, kColoursPerPalette>> colours(palettes.size());
    for (std::size_t p = 0; p < palettes.size(); ++p)
        for (int k = 1; k < kColoursPerPalette; ++k) {
            const Rgb c = colourOf(palettes[p], k);
            colours[p][k] = {c.r, c.g, c.b, 255};
        }
    const std::size_t stride = 4 * static_cast<std::size_t>(sheet.width);
    for (std::size_t i = 0; i < sprites.size(); ++i) {
        const SpriteView& sprite = sprites[i];
        const auto& lookup = colours[static_cast<std::size_t>(sprite.palette)];
        std::uint8_t* cell = rgba.data() + cellOffset(static_cast<int>(i), sheet);
        for (int y = 0; y < sprite.height; ++y) {
            const std::uint8_t* from = sprite.pixels + y * kBufferWidth;
            std::uint8_t* to = cell + stride * static_cast<std::size_t>(y);
            for (int x = 0; x < sprite.width; ++x) std::memcpy(to + 4 * x, lookup[from[x] & 15].data(), 4);
        }
    }
    return Result::success(std::move(rgba));
}

Outcome<std::vector<std::uint8_t>> exportSheetPng(std::span<const SpriteView> sprites,
                                                  std::span<const DisplayPalette> palettes)
{
    auto rgba = renderSheet(sprites, palettes);
    if (!rgba.ok) return rgba;
    const SheetSize sheet = sheetSize(static_cast<int>(sprites.size()));
    return encodeRgbaPng(sheet.width, sheet.height, rgba.value);
}

Outcome<SheetImport> importSheetPng(std::span<const std::uint8_t> png, std::span<const SpriteView> sprites,
                                    std::span<const RawPalette> palettes)
{
    if (std::string bad = checkSprites(sprites, palettes.size()); !bad.empty())
        return Outcome<SheetImport>::failure(bad);
    return takeSheet(png, sprites, palettes);
}

Outcome<SheetImport> importSheetPngFile(const std::string& path, std::span<const SpriteView> sprites,
                                        std::span<const RawPalette> palettes)
{
    if (std::string bad = checkSprites(sprites, palettes.size()); !bad.empty())
        return Outcome<SheetImport>::failure(bad);
    const SheetSize sheet = sheetSize(static_cast<int>(sprites.size()));
    const auto file = readWholeFile(path, maxPngFileBytes({sheet.width, sheet.height}));
    if (!file.ok) return Outcome<SheetImport>::failure(file.error);
    return takeSheet(file.value, sprites, palettes);
}

} // namespace tessel

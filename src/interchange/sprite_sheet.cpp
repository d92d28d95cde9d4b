#include "interchange/sprite_sheet.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

#include "interchange/colour_mapping.h"
#include "interchange/png_image.h"

namespace tessel {
namespace {

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

Outcome<SheetImport> takeSheet(const Outcome<PngImage>& decoded, std::span<const SpriteView> sprites,
                               std::span<const RawPalette> palettes)
{
    using Result = Outcome<SheetImport>;
    const SheetSize sheet = sheetSize(static_cast<int>(sprites.size()));
    if (std::string bad = checkPictureSize(decoded, sheet.width, sheet.height,
                                           std::to_string(sprites.size()) + " sprites make a sheet of");
        !bad.empty())
        return Result::failure(bad);
    const PngImage& image = decoded.value;
    const std::vector<std::uint8_t> converted = image.indexed ? image.toRgba() : std::vector<std::uint8_t>{};
    const std::uint8_t* rgba = image.indexed ? converted.data() : image.rgba.data();
    const std::size_t stride = 4 * static_cast<std::size_t>(sheet.width);

    std::vector<std::unique_ptr<ColourMatcher>> matchers(palettes.size());
    SheetImport result;
    std::vector<int> refused;
    std::vector<UnmatchedPixel> firstUnmatched;
    long long unmatched = 0;
    PixelBuffer pixels;
    for (std::size_t i = 0; i < sprites.size(); ++i) {
        const SpriteView& sprite = sprites[i];
        auto& matcher = matchers[static_cast<std::size_t>(sprite.palette)];
        if (!matcher) matcher = std::make_unique<ColourMatcher>(matchingColours(palettes[sprite.palette]));
        const int cell = static_cast<int>(i);
        std::copy(sprite.pixels, sprite.pixels + kBufferSize, pixels.begin());
        const MappingResult mapped =
            mapColours(rgba + cellOffset(cell, sheet), stride, sprite.width, sprite.height, *matcher,
                       pixels.data(), pixels.data(), kBufferWidth, (cell % kSheetColumns) * kSheetCellWidth,
                       (cell / kSheetColumns) * kSheetCellHeight);
        if (mapped.unmatchedCount > 0) {
            refused.push_back(cell);
            unmatched += mapped.unmatchedCount;
            for (const UnmatchedPixel& p : mapped.firstUnmatched)
                if (firstUnmatched.size() < kMaxListedUnmatched) firstUnmatched.push_back(p);
            continue;
        }
        if (!refused.empty()) continue; // nothing will change: no need to keep the result
        bool same = true;
        for (int y = 0; y < sprite.height && same; ++y)
            for (int x = 0; x < sprite.width; ++x)
                if ((sprite.pixels[y * kBufferWidth + x] & 15) != pixels[y * kBufferWidth + x]) {
                    same = false;
                    break;
                }
        if (same) continue;
        result.changedSprites.push_back(cell);
        result.changedPixels.push_back(pixels);
    }
    if (!refused.empty())
        return Result::failure(std::to_string(unmatched) + (unmatched == 1 ? " pixel" : " pixels") + " of " +
                               (refused.size() == 1 ? "sprite " : "sprites ") + spriteRanges(refused) +
                               (unmatched == 1 ? " matches" : " match") +
                               " no colour of the sprite's palette; nothing was changed. First (x, y on the sheet): " +
                               listUnmatched(firstUnmatched) + (unmatched > kMaxListedUnmatched ? ", ..." : ""));
    const std::size_t n = result.changedSprites.size();
    result.message = n == 0 ? "No sprite changed" : n == 1 ? "1 sprite changed" : std::to_string(n) + " sprites changed";
    return Result::success(std::move(result));
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
    const SheetSize sheet = sheetSize(static_cast<int>(sprites.size()));
    return takeSheet(decodePng(png, {sheet.width, sheet.height}), sprites, palettes);
}

Outcome<SheetImport> importSheetPngFile(const std::string& path, std::span<const SpriteView> sprites,
                                        std::span<const RawPalette> palettes)
{
    if (std::string bad = checkSprites(sprites, palettes.size()); !bad.empty())
        return Outcome<SheetImport>::failure(bad);
    const SheetSize sheet = sheetSize(static_cast<int>(sprites.size()));
    return takeSheet(readPngFile(path, {sheet.width, sheet.height}), sprites, palettes);
}

} // namespace tessel

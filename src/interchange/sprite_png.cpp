#include "interchange/sprite_png.h"

#include <algorithm>

#include "interchange/colour_mapping.h"
#include "interchange/png_image.h"

namespace tessel {
namespace {

std::string sizeText(int width, int height)
{
    return std::to_string(width) + " × " + std::to_string(height);
}

Outcome<PixelBuffer> takePicture(const Outcome<PngImage>& decoded, const SpriteView& sprite,
                                 const RawPalette& raw)
{
    using Result = Outcome<PixelBuffer>;
    if (std::string bad = checkPictureSize(decoded, sprite.width, sprite.height, "the sprite is"); !bad.empty())
        return Result::failure(bad);
    const PngImage& image = decoded.value;
    PixelBuffer pixels;
    std::copy(sprite.pixels, sprite.pixels + kBufferSize, pixels.begin());
    const auto w = static_cast<std::size_t>(image.width);
    UsedValues used{};
    for (std::uint8_t v : image.indices) used[v] = true;
    if (image.indexed && valuesAreIndices(used, image.palette, raw)) {
        for (int y = 0; y < image.height; ++y)
            std::copy_n(image.indices.data() + w * y, w, pixels.data() + kBufferWidth * y);
        return Result::success(pixels);
    }
    const std::vector<std::uint8_t> rgba = image.toRgba();
    const ColourMatcher matcher(matchingColours(raw));
    const MappingResult mapped = mapColours(rgba.data(), 4 * w, image.width, image.height, matcher,
                                            pixels.data(), pixels.data(), kBufferWidth);
    if (mapped.unmatchedCount > 0)
        return Result::failure(std::to_string(mapped.unmatchedCount) +
                               (mapped.unmatchedCount == 1 ? " pixel matches" : " pixels match") +
                               " no colour of the sprite's palette: " + listUnmatched(mapped.firstUnmatched) +
                               (mapped.unmatchedCount > kMaxListedUnmatched ? ", ..." : ""));
    return Result::success(pixels);
}

} // namespace

std::string checkSpriteView(const SpriteView& sprite, int paletteCount, const std::string& name)
{
    if (!sprite.pixels) return name + " has no pixels";
    if (sprite.width < 1 || sprite.width > kBufferWidth || sprite.height < 1 || sprite.height > kBufferHeight)
        return name + " has no valid size (" + sizeText(sprite.width, sprite.height) + ")";
    if (sprite.palette < 0 || sprite.palette >= paletteCount)
        return name + " names palette " + std::to_string(sprite.palette) + ", which does not exist";
    return {};
}

Outcome<std::vector<std::uint8_t>> exportSpritePng(const SpriteView& sprite, const DisplayPalette& display)
{
    if (std::string bad = checkSpriteView(sprite, kPaletteCount, "The sprite"); !bad.empty())
        return Outcome<std::vector<std::uint8_t>>::failure(bad);
    std::array<Rgba, kColoursPerPalette> palette;
    for (int k = 0; k < kColoursPerPalette; ++k) {
        const Rgb c = colourOf(display, k);
        palette[k] = Rgba{c.r, c.g, c.b, static_cast<std::uint8_t>(k == 0 ? 0 : 255)};
    }
    std::vector<std::uint8_t> indices(static_cast<std::size_t>(sprite.width) * sprite.height);
    for (int y = 0; y < sprite.height; ++y)
        for (int x = 0; x < sprite.width; ++x)
            indices[static_cast<std::size_t>(y) * sprite.width + x] = sprite.pixels[y * kBufferWidth + x] & 15;
    return encodeIndexedPng(sprite.width, sprite.height, indices, palette);
}

Outcome<PixelBuffer> importSpritePng(std::span<const std::uint8_t> png, const SpriteView& sprite,
                                     const RawPalette& raw)
{
    if (std::string bad = checkSpriteView(sprite, kPaletteCount, "The sprite"); !bad.empty())
        return Outcome<PixelBuffer>::failure(bad);
    return takePicture(decodePng(png, {sprite.width, sprite.height}), sprite, raw);
}

Outcome<PixelBuffer> importSpritePngFile(const std::string& path, const SpriteView& sprite,
                                         const RawPalette& raw)
{
    if (std::string bad = checkSpriteView(sprite, kPaletteCount, "The sprite"); !bad.empty())
        return Outcome<PixelBuffer>::failure(bad);
    return takePicture(readPngFile(path, {sprite.width, sprite.height}), sprite, raw);
}

} // namespace tessel

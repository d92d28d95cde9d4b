#include "interchange/indexed_sheet.h"

#include <algorithm>

#include <nlohmann/json.hpp>

#include "file/file_access.h"
#include "file/path_names.h"
#include "interchange/png_image.h"
#include "interchange/sprite_png.h"
#include "model/edit_marks.h"

namespace tessel {
namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr std::size_t kMaxCellMapBytes = std::size_t{1} << 20;
constexpr int kMaxSheetRows = (kSpriteCount + kIndexedSheetColumns - 1) / kIndexedSheetColumns;

struct Cell {
    int sprite = 0, x = 0, y = 0, width = 0, height = 0;
};

// The cells of a map, or why it cannot be one for this ROM.
Outcome<std::vector<Cell>> readCellMap(const std::string& text, const RomDocument& document, const PngImage& picture)
{
    using Result = Outcome<std::vector<Cell>>;
    const auto map = nlohmann::json::parse(text, nullptr, false);
    if (map.is_discarded() || !map.is_object() || !map.contains("cells") || !map["cells"].is_array())
        return Result::failure("The cell map is not one (a JSON object with a \"cells\" list)");
    std::vector<Cell> cells;
    for (const auto& entry : map["cells"]) {
        Cell c;
        for (auto [key, field] : {std::pair{"sprite", &c.sprite}, {"x", &c.x}, {"y", &c.y}, {"width", &c.width},
                                  {"height", &c.height}}) {
            if (!entry.is_object() || !entry.contains(key) || !entry[key].is_number_integer())
                return Result::failure(std::string("A cell of the map has no whole number \"") + key + "\"");
            const auto v = entry[key].get<long long>();
            if (v < 0 || v > 1 << 20) return Result::failure(std::string("A cell's \"") + key + "\" is out of range");
            *field = static_cast<int>(v);
        }
        if (c.sprite >= kSpriteCount) return Result::failure("The map names sprite " + std::to_string(c.sprite) + ", which does not exist");
        const SpriteRecord& record = document.spriteStore[c.sprite];
        if (c.width != record.widthPixels() || c.height != record.heightPixels())
            return Result::failure("The map gives sprite " + std::to_string(c.sprite) + " as " + std::to_string(c.width) +
                                   " × " + std::to_string(c.height) + ", and it is " + std::to_string(record.widthPixels()) +
                                   " × " + std::to_string(record.heightPixels()));
        if (c.x + c.width > picture.width || c.y + c.height > picture.height)
            return Result::failure("Sprite " + std::to_string(c.sprite) + "'s cell lies outside the picture");
        cells.push_back(c);
    }
    return Result::success(std::move(cells));
}

// The cell's part of the picture as a picture of its own, of the same kind.
Outcome<Bytes> cellPicture(const PngImage& picture, const Cell& c)
{
    const auto w = static_cast<std::size_t>(picture.width);
    const std::size_t bytesPerPixel = picture.indexed ? 1 : 4;
    const Bytes& from = picture.indexed ? picture.indices : picture.rgba;
    Bytes part;
    part.reserve(static_cast<std::size_t>(c.width) * c.height * bytesPerPixel);
    for (int y = c.y; y < c.y + c.height; ++y) {
        const auto row = from.begin() + static_cast<std::ptrdiff_t>((y * w + c.x) * bytesPerPixel);
        part.insert(part.end(), row, row + static_cast<std::ptrdiff_t>(c.width * bytesPerPixel));
    }
    if (picture.indexed) return encodeIndexedPng(c.width, c.height, part, picture.palette);
    return encodeRgbaPng(c.width, c.height, part);
}

} // namespace

Outcome<IndexedSheet> exportIndexedSheet(const RomDocument& document, int palette)
{
    using Result = Outcome<IndexedSheet>;
    std::vector<int> sprites;
    for (int s = 0; s < kSpriteCount; ++s)
        if (document.spriteStore[s].paletteIndex == palette) sprites.push_back(s);
    if (sprites.empty()) return Result::failure("No sprite is drawn with palette " + std::to_string(palette));
    const int columns = std::min<int>(kIndexedSheetColumns, static_cast<int>(sprites.size()));
    const int rows = static_cast<int>((sprites.size() + kIndexedSheetColumns - 1) / kIndexedSheetColumns);
    const int width = columns * kBufferWidth, height = rows * kBufferHeight;
    Bytes indices(static_cast<std::size_t>(width) * height, 0);
    std::string cells; // one cell a line, for a reader as much as for the import
    for (std::size_t i = 0; i < sprites.size(); ++i) {
        const SpriteRecord& record = document.spriteStore[sprites[i]];
        const int x0 = static_cast<int>(i % kIndexedSheetColumns) * kBufferWidth;
        const int y0 = static_cast<int>(i / kIndexedSheetColumns) * kBufferHeight;
        for (int y = 0; y < record.heightPixels(); ++y)
            for (int x = 0; x < record.widthPixels(); ++x)
                indices[static_cast<std::size_t>(y0 + y) * width + x0 + x] = record.pixels[y * kBufferWidth + x] & 15;
        cells += (i == 0 ? "\n  " : ",\n  ") +
                 nlohmann::ordered_json{{"sprite", sprites[i]}, {"x", x0}, {"y", y0}, {"width", record.widthPixels()},
                                        {"height", record.heightPixels()}}
                     .dump();
    }
    std::vector<Rgba> colours(kColoursPerPalette);
    for (int k = 0; k < kColoursPerPalette; ++k) {
        const Rgb c = colourOf(document.displayPalettes[palette], k);
        colours[k] = Rgba{c.r, c.g, c.b, static_cast<std::uint8_t>(k == 0 ? 0 : 255)};
    }
    auto png = encodeIndexedPng(width, height, indices, colours);
    if (!png) return Result::failure(png.error);
    return Result::success(
        {std::move(png.value), "{\"palette\": " + std::to_string(palette) + ", \"cells\": [" + cells + "\n]}\n"});
}

std::string cellMapPathOf(const std::string& pngPath)
{
    if (lowerCaseExtension(pngPath) == "png") return pngPath.substr(0, pngPath.size() - 4) + ".json";
    return pngPath + ".json";
}

Outcome<ArtChange> importIndexedSheetFile(RomDocument& document, const std::string& pngPath, const std::string& mapPath,
                                          const BeforeChange& beforeChange)
{
    using Result = Outcome<ArtChange>;
    const auto text = readWholeFile(mapPath, kMaxCellMapBytes);
    if (!text) return Result::failure(text.error);
    const auto picture = readPngFile(pngPath, {kIndexedSheetColumns * kBufferWidth, kMaxSheetRows * kBufferHeight});
    if (!picture) return Result::failure(picture.error);
    const auto cells = readCellMap(std::string(text.value.begin(), text.value.end()), document, picture.value);
    if (!cells) return Result::failure(cells.error);
    std::vector<std::pair<int, PixelBuffer>> changed;
    for (const Cell& c : cells.value) {
        const auto part = cellPicture(picture.value, c);
        if (!part) return Result::failure(part.error);
        const SpriteRecord& record = document.spriteStore[c.sprite];
        auto pixels = importSpritePng(part.value, spriteViewOf(record), document.rawPalettes[record.paletteIndex]);
        if (!pixels) return Result::failure("Sprite " + std::to_string(c.sprite) + ": " + pixels.error);
        if (pixels.value != record.pixels) changed.emplace_back(c.sprite, pixels.value);
    }
    ArtChange change;
    for (const auto& [sprite, pixels] : changed) {
        if (beforeChange) beforeChange(sprite);
        document.spriteStore[sprite].pixels = pixels;
        markSpritePending(document, sprite);
        change.changedSprites.push_back(sprite);
    }
    std::sort(change.changedSprites.begin(), change.changedSprites.end());
    change.message = std::to_string(cells.value.size()) + " sprites read, " + std::to_string(changed.size()) + " changed";
    return Result::success(std::move(change));
}

} // namespace tessel

#include "support/interchange_data.h"

#include <zlib.h>

#include <filesystem>
#include <stdexcept>
#include <stdlib.h>

#include "rom/sprite_catalogue.h"
#include "support/synthetic_rom.h"

namespace tessel::testing {
namespace {

void put32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

} // namespace

ScratchFolder::ScratchFolder() : path_(std::filesystem::temp_directory_path() / "tessel-test-XXXXXX")
{
    if (!::mkdtemp(path_.data())) throw std::runtime_error("mkdtemp " + path_ + " failed");
}

ScratchFolder::~ScratchFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void SyntheticArt::setColour(int palette, int k, int red, int green, int blue)
{
    raw[palette].red[k] = red;
    raw[palette].green[k] = green;
    raw[palette].blue[k] = blue;
    display[palette].red[k] = k == 0 ? 0 : displayComponent(red);
    display[palette].green[k] = k == 0 ? 0 : displayComponent(green);
    display[palette].blue[k] = k == 0 ? 0 : displayComponent(blue);
}

SyntheticArt syntheticArt(bool duplicateColours)
{
    SyntheticArt art;
    for (int p = 0; p < kPaletteCount; ++p)
        for (int k = 1; k < kColoursPerPalette; ++k) {
            const int from = duplicateColours && k == 9 ? 4 : duplicateColours && k == 12 ? 2 : k;
            const ExpectedColour c = expectedRawColour(p, from);
            art.setColour(p, k, c.red, c.green, c.blue);
        }
    art.pixels.resize(kSpriteCount);
    for (int i = 0; i < kSpriteCount; ++i) {
        const CatalogueEntry& e = spriteCatalogue()[i];
        const int w = e.widthTiles * 8, h = e.heightTiles * 8;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                art.pixels[i][y * kBufferWidth + x] = static_cast<std::uint8_t>(expectedPixel(i, x, y));
        art.views.push_back({art.pixels[i].data(), w, h, e.paletteIndex});
    }
    return art;
}

std::vector<std::uint8_t> pngChunk(const char type[4], const std::vector<std::uint8_t>& data)
{
    std::vector<std::uint8_t> out;
    put32(out, static_cast<std::uint32_t>(data.size()));
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    uLong crc = crc32(0, reinterpret_cast<const Bytef*>(type), 4);
    if (!data.empty()) crc = crc32(crc, data.data(), static_cast<uInt>(data.size())); // a null buffer resets it

    put32(out, static_cast<std::uint32_t>(crc));
    return out;
}

std::vector<std::uint8_t> handPng(const HandPng& png)
{
    std::vector<std::uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> ihdr;
    put32(ihdr, png.width);
    put32(ihdr, png.height);
    ihdr.insert(ihdr.end(), {static_cast<std::uint8_t>(png.depth), static_cast<std::uint8_t>(png.colourType), 0, 0,
                             static_cast<std::uint8_t>(png.interlace)});
    const auto append = [&](const std::vector<std::uint8_t>& bytes) { out.insert(out.end(), bytes.begin(), bytes.end()); };
    append(pngChunk("IHDR", ihdr));
    append(png.beforeIdat);
    uLongf size = compressBound(static_cast<uLong>(png.scanlines.size()));
    std::vector<std::uint8_t> idat(size);
    if (compress(idat.data(), &size, png.scanlines.data(), static_cast<uLong>(png.scanlines.size())) != Z_OK)
        throw std::runtime_error("compress failed");
    idat.resize(size);
    append(pngChunk("IDAT", idat));
    append(pngChunk("IEND", {}));
    return out;
}

} // namespace tessel::testing

// Data for the picture, palette and patch tests and benchmarks: every
// catalogued sprite of the synthetic ROM as the interchange layer sees it,
// and PNG files put together chunk by chunk from the published format (an
// image writer independent of the program's, which can also write what no
// well-behaved writer would).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "interchange/sprite_view.h"

namespace tessel::testing {

struct SyntheticArt {
    std::vector<PixelBuffer> pixels; // one per catalogued sprite
    std::vector<SpriteView> views;   // pointing into `pixels`
    std::array<RawPalette, kPaletteCount> raw{};
    std::array<DisplayPalette, kPaletteCount> display{};

    void setColour(int palette, int k, int red, int green, int blue);
};

// The synthetic ROM's sprites and palettes (colour 0 raw and shown black).
// With `duplicateColours`, colour 9 of every palette repeats colour 4 and
// colour 12 repeats colour 2.
SyntheticArt syntheticArt(bool duplicateColours = false);

// A directory in the temporary directory, removed with all it holds; for
// files whose name must end in a given extension.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// One chunk: length, type, data, CRC32 (from zlib).
std::vector<std::uint8_t> pngChunk(const char type[4], const std::vector<std::uint8_t>& data);

struct HandPng {
    std::uint32_t width = 0, height = 0;
    int depth = 8, colourType = 0, interlace = 0;
    std::vector<std::uint8_t> scanlines; // filter byte and packed samples, row by row
    std::vector<std::uint8_t> beforeIdat; // whole chunks (PLTE, tRNS, ...)
};
// Signature, IHDR, `beforeIdat`, one IDAT holding the zlib-compressed
// scanlines, IEND.
std::vector<std::uint8_t> handPng(const HandPng& png);

} // namespace tessel::testing

// PNG pictures in memory, read and written through libpng.
//
// Decoding is for untrusted files: the size in the header is checked against
// the caller's limits before any pixel memory is allocated, a chunk whose
// CRC is wrong (critical or not) refuses the picture, and so does a file that
// ends before its last chunk. Text, colour profile and suggested-palette
// chunks are skipped unread.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "file/outcome.h"

namespace tessel {

struct Rgba {
    std::uint8_t r = 0, g = 0, b = 0, a = 255;
    friend bool operator==(const Rgba&, const Rgba&) = default;
};

struct PngImage {
    int width = 0, height = 0;
    // A palette picture keeps its pixel values: one byte a pixel, row by row,
    // each below palette.size(); palette alphas come from the tRNS chunk.
    bool indexed = false;
    std::vector<std::uint8_t> indices;
    std::vector<Rgba> palette;
    // Any other picture (grey, RGB, with or without alpha, 1 to 16 bits) is
    // converted to four bytes a pixel, R G B A, 16-bit samples cut to their
    // high byte.
    std::vector<std::uint8_t> rgba;

    // The picture as R G B A whatever its kind (a palette picture looked up).
    std::vector<std::uint8_t> toRgba() const;
};

struct PngLimits {
    int maxWidth = 0, maxHeight = 0;
};

// On failure `value.width` and `value.height` hold the header's size when the
// header was read (0 otherwise), so that a caller can say which size it got.
Outcome<PngImage> decodePng(std::span<const std::uint8_t> bytes, PngLimits limits);
// The picture as R G B A rows (a palette picture looked up), each handed to
// `row` top to bottom with the picture's size, kind and palette, in a buffer
// that is reused; a picture that is not
// interlaced is never held whole. The value has the size, the kind and the
// palette but no pixels. On failure some rows may have been handed on.
using PngRowSink = std::function<void(const PngImage& picture, int y, const std::uint8_t* rgba)>;
Outcome<PngImage> decodePngRows(std::span<const std::uint8_t> bytes, PngLimits limits, const PngRowSink& row);
// The same, with a palette picture's own values for the row beside its
// colours (`indices` is null for any other picture).
using PngIndexedRowSink =
    std::function<void(const PngImage& picture, int y, const std::uint8_t* rgba, const std::uint8_t* indices)>;
Outcome<PngImage> decodePngRows(std::span<const std::uint8_t> bytes, PngLimits limits,
                                const PngIndexedRowSink& row);

// For an import that takes one exact size: empty when `decoded` is a
// picture of width x height, else the message: the decoding error, or both
// sizes ("The picture is 10 × 10 pixels, but " + `expected` + " 32 × 48"),
// also for a picture refused for exceeding the limits.
std::string checkPictureSize(const Outcome<PngImage>& decoded, int width, int height,
                             const std::string& expected);
// decodePng from a file; a file that could not hold a picture within the
// limits (more than maxPngFileBytes) is refused unread.
std::size_t maxPngFileBytes(PngLimits limits);
Outcome<PngImage> readPngFile(const std::string& path, PngLimits limits);

// A palette picture: `indices` one byte a pixel (row by row), every value
// below palette.size() (at most 256 entries); 4 bits a pixel when the
// palette has at most 16 entries. Alphas other than 255 go to a tRNS chunk.
Outcome<std::vector<std::uint8_t>> encodeIndexedPng(int width, int height,
                                                    std::span<const std::uint8_t> indices,
                                                    std::span<const Rgba> palette);
// An 8-bit RGBA picture, `rgba` four bytes a pixel row by row.
Outcome<std::vector<std::uint8_t>> encodeRgbaPng(int width, int height,
                                                 std::span<const std::uint8_t> rgba);

} // namespace tessel

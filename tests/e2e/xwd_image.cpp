#include "e2e/xwd_image.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace tessel::e2e {

namespace {

// The header is 25 big-endian 32-bit fields (XWDFileHeader), followed by
// the window name, then ncolors 12-byte colour entries, then the pixels.
enum Field {
    HeaderSize, FileVersion, PixmapFormat, PixmapDepth, PixmapWidth, PixmapHeight, XOffset,
    ByteOrder, BitmapUnit, BitmapBitOrder, BitmapPad, BitsPerPixel, BytesPerLine, VisualClass,
    RedMask, GreenMask, BlueMask, BitsPerRgb, ColormapEntries, NColors, FieldCount = 25
};
constexpr std::uint32_t kZPixmap = 2;
constexpr std::uint32_t kMsbFirst = 1;
constexpr std::size_t kColourEntrySize = 12;

std::uint32_t bigEndian32(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

// A component as 0..255 from a pixel value and its mask.
int component(std::uint32_t pixel, std::uint32_t mask)
{
    if (mask == 0) return 0;
    int shift = 0;
    while (!((mask >> shift) & 1)) ++shift;
    const std::uint32_t max = mask >> shift;
    const std::uint32_t v = (pixel & mask) >> shift;
    return static_cast<int>(max == 255 ? v : (v * 255 + max / 2) / max);
}

} // namespace

std::string toString(const Rgb& c)
{
    return "(" + std::to_string(c.r) + ", " + std::to_string(c.g) + ", " + std::to_string(c.b) + ")";
}

Rgb XwdImage::at(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return {};
    return pixels_[static_cast<std::size_t>(y) * width_ + x];
}

XwdImage XwdImage::parse(const std::vector<std::uint8_t>& bytes)
{
    if (bytes.size() < FieldCount * 4) throw std::runtime_error("XWD: file too short for a header");
    std::uint32_t h[FieldCount];
    for (int i = 0; i < FieldCount; ++i) h[i] = bigEndian32(bytes.data() + 4 * i);
    if (h[FileVersion] != 7) throw std::runtime_error("XWD: not version 7");
    if (h[PixmapFormat] != kZPixmap) throw std::runtime_error("XWD: not a ZPixmap");
    const std::uint32_t bpp = h[BitsPerPixel];
    if (bpp != 24 && bpp != 32) throw std::runtime_error("XWD: unsupported bits per pixel");
    const std::size_t start = h[HeaderSize] + std::size_t(h[NColors]) * kColourEntrySize;
    const std::size_t stride = h[BytesPerLine];
    const std::size_t bytesPerPixel = bpp / 8;
    XwdImage image;
    image.width_ = static_cast<int>(h[PixmapWidth]);
    image.height_ = static_cast<int>(h[PixmapHeight]);
    if (stride < image.width_ * bytesPerPixel ||
        start + stride * image.height_ > bytes.size())
        throw std::runtime_error("XWD: pixel data missing");
    image.pixels_.resize(std::size_t(image.width_) * image.height_);
    const bool msbFirst = h[ByteOrder] == kMsbFirst;
    for (int y = 0; y < image.height_; ++y) {
        const std::uint8_t* row = bytes.data() + start + stride * y;
        for (int x = 0; x < image.width_; ++x) {
            const std::uint8_t* p = row + bytesPerPixel * x;
            std::uint32_t v = 0;
            for (std::size_t i = 0; i < bytesPerPixel; ++i)
                v |= std::uint32_t(p[i]) << (8 * (msbFirst ? bytesPerPixel - 1 - i : i));
            image.pixels_[std::size_t(y) * image.width_ + x] = {
                component(v, h[RedMask]), component(v, h[GreenMask]), component(v, h[BlueMask])};
        }
    }
    return image;
}

XwdImage XwdImage::load(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return parse(bytes);
}

} // namespace tessel::e2e

// The dump reader on small hand-made dumps: the screen pictures of every
// end-to-end test go through it, so a reader that swapped components or
// bytes would make them compare the wrong colours.
#include <gtest/gtest.h>

#include <stdexcept>

#include "e2e/xwd_image.h"

namespace tessel::e2e {
namespace {

struct DumpLayout {
    int bitsPerPixel = 32;
    bool msbFirst = false;
    std::uint32_t red = 0xFF0000, green = 0x00FF00, blue = 0x0000FF;
    int padBytes = 0; // per line, beyond the pixels
    std::string name = "screen";
    int ncolors = 2;
};

void put32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<std::uint8_t>(v >> s));
}

// A 3 x 2 dump whose pixel values are given row by row.
std::vector<std::uint8_t> makeDump(const DumpLayout& layout, const std::vector<std::uint32_t>& values)
{
    const int width = 3, height = 2, bytesPerPixel = layout.bitsPerPixel / 8;
    const int stride = width * bytesPerPixel + layout.padBytes;
    const std::uint32_t headerSize = 100 + static_cast<std::uint32_t>(layout.name.size()) + 1;
    std::vector<std::uint8_t> out;
    const std::uint32_t fields[25] = {
        headerSize, 7, 2, 24, width, height, 0, layout.msbFirst ? 1u : 0u, 32,
        layout.msbFirst ? 1u : 0u, 32, static_cast<std::uint32_t>(layout.bitsPerPixel),
        static_cast<std::uint32_t>(stride), 4, layout.red, layout.green, layout.blue, 8, 256,
        static_cast<std::uint32_t>(layout.ncolors), width, height, 0, 0, 0};
    for (std::uint32_t f : fields) put32(out, f);
    out.insert(out.end(), layout.name.begin(), layout.name.end());
    out.push_back(0);
    out.insert(out.end(), std::size_t(layout.ncolors) * 12, 0xEE); // colour entries, skipped
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t v = values[y * width + x];
            for (int i = 0; i < bytesPerPixel; ++i) {
                const int shift = 8 * (layout.msbFirst ? bytesPerPixel - 1 - i : i);
                out.push_back(static_cast<std::uint8_t>(v >> shift));
            }
        }
        out.insert(out.end(), layout.padBytes, 0xAA);
    }
    return out;
}

TEST(XwdImage, ReadsPixelsInEitherByteOrderAndDepth)
{
    const std::vector<std::uint32_t> values = {0x102030, 0xFF0000, 0x00FF00,
                                               0x0000FF, 0xFFFFFF, 0x7F7F7F};
    const Rgb expected[6] = {{0x10, 0x20, 0x30}, {255, 0, 0}, {0, 255, 0},
                             {0, 0, 255},        {255, 255, 255}, {127, 127, 127}};
    for (int bpp : {24, 32})
        for (bool msb : {false, true})
            for (int pad : {0, 3}) {
                DumpLayout layout;
                layout.bitsPerPixel = bpp;
                layout.msbFirst = msb;
                layout.padBytes = pad;
                const XwdImage image = XwdImage::parse(makeDump(layout, values));
                ASSERT_EQ(image.width(), 3);
                ASSERT_EQ(image.height(), 2);
                for (int i = 0; i < 6; ++i)
                    EXPECT_EQ(image.at(i % 3, i / 3), expected[i])
                        << "bpp " << bpp << (msb ? " MSB" : " LSB") << " pad " << pad << " pixel " << i;
            }
}

TEST(XwdImage, PlacesComponentsByTheirMasks)
{
    DumpLayout layout; // blue in the high byte, red in the low one
    layout.red = 0x0000FF;
    layout.green = 0x00FF00;
    layout.blue = 0xFF0000;
    const XwdImage image = XwdImage::parse(makeDump(layout, {0x332211, 0, 0, 0, 0, 0}));
    EXPECT_EQ(image.at(0, 0), (Rgb{0x11, 0x22, 0x33}));

    DumpLayout rgb565; // five and six bits per component, scaled to 0..255
    rgb565.red = 0xF800;
    rgb565.green = 0x07E0;
    rgb565.blue = 0x001F;
    const XwdImage small = XwdImage::parse(makeDump(rgb565, {0xFFFF, 0x0000, 0xF800, 0, 0, 0}));
    EXPECT_EQ(small.at(0, 0), (Rgb{255, 255, 255}));
    EXPECT_EQ(small.at(1, 0), (Rgb{0, 0, 0}));
    EXPECT_EQ(small.at(2, 0), (Rgb{255, 0, 0}));
    EXPECT_EQ(small.at(5, 5), (Rgb{})) << "outside the picture";
}

TEST(XwdImage, RefusesWhatItCannotRead)
{
    const std::vector<std::uint32_t> values(6, 0);
    std::vector<std::uint8_t> dump = makeDump({}, values);
    EXPECT_THROW(XwdImage::parse({dump.begin(), dump.begin() + 60}), std::runtime_error);
    EXPECT_THROW(XwdImage::parse({dump.begin(), dump.end() - 1}), std::runtime_error)
        << "last pixel cut off";
    DumpLayout deep;
    deep.bitsPerPixel = 16;
    EXPECT_THROW(XwdImage::parse(makeDump(deep, values)), std::runtime_error);
    dump[11] = 1; // an XY pixmap
    EXPECT_THROW(XwdImage::parse(dump), std::runtime_error);
}

} // namespace
} // namespace tessel::e2e

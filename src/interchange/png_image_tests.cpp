#include "interchange/png_image.h"

#include <zlib.h>

#include <gtest/gtest.h>

#include "support/interchange_data.h"

namespace tessel {
namespace {

using testing::handPng;
using testing::HandPng;
using testing::pngChunk;
using Bytes = std::vector<std::uint8_t>;

struct Chunk {
    std::string type;
    Bytes data;
};

// The chunks of a PNG file, walked by the published layout.
std::vector<Chunk> chunksOf(const Bytes& png)
{
    std::vector<Chunk> out;
    for (std::size_t at = 8; at + 12 <= png.size();) {
        const std::size_t n = (png[at] << 24) | (png[at + 1] << 16) | (png[at + 2] << 8) | png[at + 3];
        out.push_back({std::string(png.begin() + at + 4, png.begin() + at + 8),
                       Bytes(png.begin() + at + 8, png.begin() + at + 8 + n)});
        at += 12 + n;
    }
    return out;
}

TEST(PngImage, IndexedPictureHasHandWorkedChunks)
{
    const Bytes indices = {1, 2};
    const std::vector<Rgba> palette = {{0, 0, 0, 0}, {255, 7, 7, 255}, {7, 7, 255, 255}};
    const auto png = encodeIndexedPng(2, 1, indices, palette);
    ASSERT_TRUE(png.ok) << png.error;
    const auto chunks = chunksOf(png.value);
    ASSERT_EQ(chunks.size(), 5u);
    EXPECT_EQ(chunks[0].type, "IHDR");
    EXPECT_EQ(chunks[0].data, (Bytes{0, 0, 0, 2, 0, 0, 0, 1, 4, 3, 0, 0, 0})); // 4-bit palette
    EXPECT_EQ(chunks[1].type, "PLTE");
    EXPECT_EQ(chunks[1].data, (Bytes{0, 0, 0, 255, 7, 7, 7, 7, 255}));
    EXPECT_EQ(chunks[2].type, "tRNS");
    EXPECT_EQ(chunks[2].data, Bytes{0}); // only entry 0 is not opaque
    EXPECT_EQ(chunks[3].type, "IDAT");
    Bytes row(2);
    uLongf size = row.size();
    ASSERT_EQ(uncompress(row.data(), &size, chunks[3].data.data(), chunks[3].data.size()), Z_OK);
    EXPECT_EQ(row, (Bytes{0, 0x12})); // filter 0, pixels 1 and 2 in one byte
    EXPECT_EQ(chunks[4].type, "IEND");
}

TEST(PngImage, DecodesEveryKindOfPicture)
{
    const Bytes plte = pngChunk("PLTE", {1, 2, 3, 4, 5, 6, 7, 8, 9});
    const Bytes trnsIndexed = pngChunk("tRNS", {0});
    const Bytes trnsRgb = pngChunk("tRNS", {0, 1, 0, 2, 0, 3});
    struct Case {
        const char* what;
        HandPng png;
        Bytes rgba;
    } cases[] = {
        {"grey 8", {2, 1, 8, 0, 0, {0, 0x10, 0xF0}, {}}, {16, 16, 16, 255, 240, 240, 240, 255}},
        {"grey 1", {2, 1, 1, 0, 0, {0, 0x80}, {}}, {255, 255, 255, 255, 0, 0, 0, 255}},
        {"grey+alpha 16", {1, 1, 16, 4, 0, {0, 0x12, 0x34, 0, 0}, {}}, {0x12, 0x12, 0x12, 0}},
        {"RGB + tRNS", {2, 1, 8, 2, 0, {0, 1, 2, 3, 4, 5, 6}, trnsRgb}, {1, 2, 3, 0, 4, 5, 6, 255}},
        {"RGBA 8", {1, 1, 8, 6, 0, {0, 9, 8, 7, 6}, {}}, {9, 8, 7, 6}},
        {"RGB interlaced", {1, 1, 8, 2, 1, {0, 7, 8, 9}, {}}, {7, 8, 9, 255}},
    };
    for (const Case& c : cases) {
        const auto image = decodePng(handPng(c.png), {64, 80});
        ASSERT_TRUE(image.ok) << c.what << ": " << image.error;
        EXPECT_EQ(image.value.width, static_cast<int>(c.png.width)) << c.what;
        EXPECT_EQ(image.value.rgba, c.rgba) << c.what;
    }
    HandPng indexed{3, 1, 4, 3, 0, {0, 0x01, 0x20}, plte};
    indexed.beforeIdat.insert(indexed.beforeIdat.end(), trnsIndexed.begin(), trnsIndexed.end());
    const auto image = decodePng(handPng(indexed), {64, 80});
    ASSERT_TRUE(image.ok) << image.error;
    EXPECT_TRUE(image.value.indexed);
    EXPECT_EQ(image.value.indices, (Bytes{0, 1, 2}));
    EXPECT_EQ(image.value.palette, (std::vector<Rgba>{{1, 2, 3, 0}, {4, 5, 6, 255}, {7, 8, 9, 255}}));
    EXPECT_EQ(image.value.toRgba(), (Bytes{1, 2, 3, 0, 4, 5, 6, 255, 7, 8, 9, 255}));
}

TEST(PngImage, RowsComeOneByOneWhateverTheLayout)
{
    const Bytes plte = pngChunk("PLTE", {1, 2, 3, 4, 5, 6, 7, 8, 9});
    struct Case {
        const char* what;
        HandPng png;
        Bytes rgba; // all rows; empty: refused
    } cases[] = {
        {"palette, streamed", {2, 2, 4, 3, 0, {0, 0x12, 0, 0x10}, plte}, {4, 5, 6, 255, 7, 8, 9, 255, 4, 5, 6, 255, 1, 2, 3, 255}},
        // Adam7 for 2 x 2: pass 1 has (0, 0), pass 6 (1, 0), pass 7 row 1.
        {"grey, interlaced", {2, 2, 8, 0, 1, {0, 10, 0, 20, 0, 30, 40}, {}},
         {10, 10, 10, 255, 20, 20, 20, 255, 30, 30, 30, 255, 40, 40, 40, 255}},
        {"palette entry 3 of 3 in row 1", {2, 2, 8, 3, 0, {0, 1, 2, 0, 0, 3}, plte}, {}},
    };
    for (const Case& c : cases) {
        Bytes rows;
        int expectedY = 0;
        const auto image = decodePngRows(handPng(c.png), {64, 80}, [&](const PngImage& p, int y, const std::uint8_t* rgba) {
            EXPECT_EQ(y, expectedY++) << c.what;
            rows.insert(rows.end(), rgba, rgba + 4 * p.width);
        });
        EXPECT_EQ(image.ok, !c.rgba.empty()) << c.what << ": " << image.error;
        if (image.ok) {
            EXPECT_EQ(rows, c.rgba) << c.what;
        } else {
            EXPECT_EQ(rows.size(), 8u) << c.what; // row 0 was handed on before the bad entry
        }
    }
}

TEST(PngImage, RefusesHostileFiles)
{
    const HandPng good{4, 2, 8, 6, 0, Bytes(2 * 17, 0), pngChunk("tEXt", {'a', 0, 'b'})};
    const Bytes file = handPng(good);
    ASSERT_TRUE(decodePng(file, {64, 80}).ok);
    const std::size_t idat = 8 + 25 + 15; // signature, IHDR, tEXt

    const auto cut = [&](std::size_t n) { return Bytes(file.begin(), file.begin() + n); };
    const auto flip = [&](std::size_t at) {
        Bytes b = file;
        b[at] ^= 0x40;
        return b;
    };
    HandPng huge = good;
    huge.width = huge.height = 100000;
    HandPng index200{1, 1, 8, 3, 0, {0, 200}, pngChunk("PLTE", Bytes(3 * 16, 9))};
    HandPng badFilter = good;
    badFilter.scanlines[0] = 7;

    struct Case {
        const char* what;
        Bytes bytes;
        const char* message;
    } cases[] = {
        {"not a PNG", {'h', 'e', 'l', 'l', 'o'}, "not a PNG"},
        {"empty", {}, "not a PNG"},
        {"cut in IHDR", cut(20), "cut short"},
        {"cut in IDAT", cut(idat + 10), "cut short"},
        {"cut before IEND", cut(file.size() - 12), "cut short"},
        {"cut in IEND's CRC", cut(file.size() - 1), "cut short"},
        {"IHDR CRC", flip(8 + 21), "damaged"},
        {"IDAT data", flip(idat + 9), "damaged"},
        {"IDAT CRC", flip(file.size() - 13), "damaged"},
        {"skipped tEXt chunk's CRC", flip(8 + 25 + 11), "damaged"},
        {"IEND CRC", flip(file.size() - 1), "damaged"},
        {"huge", handPng(huge), "100000 × 100000 pixels; at most 64 × 80"},
        {"index 200", handPng(index200), "palette entry 200 of a palette of 16"},
        {"bad row filter", handPng(badFilter), "damaged"},
    };
    for (const Case& c : cases) {
        const auto image = decodePng(c.bytes, {64, 80});
        EXPECT_FALSE(image.ok) << c.what;
        EXPECT_NE(image.error.find(c.message), std::string::npos) << c.what << ": " << image.error;
    }
    // Refused for its size before any pixel memory: the header's size is
    // still reported.
    const auto image = decodePng(handPng(huge), {64, 80});
    EXPECT_EQ(image.value.width, 100000);
    EXPECT_TRUE(image.value.rgba.empty());
}

} // namespace
} // namespace tessel

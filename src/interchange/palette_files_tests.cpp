#include "interchange/palette_files.h"

#include <gtest/gtest.h>

#include "support/interchange_data.h"

namespace tessel {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Colour k is (k, 31 - k, 2k % 32) but colour 1 is (1, 2, 3).
RawPalette samplePalette()
{
    RawPalette raw;
    for (int k = 1; k < kColoursPerPalette; ++k) {
        raw.red[k] = k;
        raw.green[k] = 31 - k;
        raw.blue[k] = (2 * k) % 32;
    }
    raw.green[1] = 2;
    raw.blue[1] = 3;
    return raw;
}

Bytes text(const std::string& s) { return Bytes(s.begin(), s.end()); }

std::string colourLines(int count, const char* eol)
{
    std::string s;
    for (int k = 0; k < count; ++k) s += std::to_string(8 * k + 7) + " 0 255" + eol;
    return s;
}

TEST(PaletteFiles, WritesHandWorkedFiles)
{
    const RawPalette raw = samplePalette();
    const Bytes bin = writePaletteFile(PaletteFileKind::SnesWords, raw);
    ASSERT_EQ(bin.size(), 32u);
    // (1, 2, 3): 3 * 1024 + 2 * 32 + 1 = 0x0C41; (15, 16, 30): 0x7A0F.
    EXPECT_EQ((Bytes{bin[0], bin[1], bin[2], bin[3], bin[30], bin[31]}), (Bytes{0, 0, 0x41, 0x0C, 0x0F, 0x7A}));

    const Bytes act = writePaletteFile(PaletteFileKind::Adobe, raw);
    ASSERT_EQ(act.size(), 772u);
    EXPECT_EQ((Bytes(act.begin(), act.begin() + 6)), (Bytes{0, 0, 0, 15, 23, 31}));
    EXPECT_EQ((Bytes(act.begin() + 45, act.begin() + 51)), (Bytes{127, 135, 247, 0, 0, 0}));
    EXPECT_EQ((Bytes(act.end() - 4, act.end())), (Bytes{0, 16, 0, 0})); // 16 colours, 0 transparent

    const std::string gpl = "GIMP Palette\nName: P\nColumns: 16\n#\n  0   0   0\tColour 0\n 15  23  31\tColour 1\n";
    const Bytes gimp = writePaletteFile(PaletteFileKind::Gimp, raw, "P");
    EXPECT_EQ(std::string(gimp.begin(), gimp.begin() + gpl.size()), gpl);

    const std::string pal = "JASC-PAL\r\n0100\r\n16\r\n0 0 0\r\n15 23 31\r\n23 239 39\r\n";
    const Bytes jasc = writePaletteFile(PaletteFileKind::Jasc, raw);
    EXPECT_EQ(std::string(jasc.begin(), jasc.begin() + pal.size()), pal);
}

TEST(PaletteFiles, EveryKindComesBackAndRoundsDown)
{
    const RawPalette raw = samplePalette();
    for (auto kind : {PaletteFileKind::Gimp, PaletteFileKind::Jasc, PaletteFileKind::Adobe, PaletteFileKind::SnesWords}) {
        const auto back = readPaletteFile(kind, writePaletteFile(kind, raw));
        ASSERT_TRUE(back.ok) << back.error;
        for (int k = 1; k < kColoursPerPalette; ++k)
            EXPECT_EQ((RawColour{back.value.red[k], back.value.green[k], back.value.blue[k]}),
                      (RawColour{raw.red[k], raw.green[k], raw.blue[k]}))
                << static_cast<int>(kind) << " colour " << k;
    }
    // 8v .. 8v + 7 all come back as v; extra colours and names are passed over.
    const auto gimp = readPaletteFile(PaletteFileKind::Gimp,
                                      text("\xEF\xBB\xBFGIMP Palette\r\n# c\n\n 0 0 0 x\n136 135 7 a name\n" +
                                           colourLines(20, "\n")));
    ASSERT_TRUE(gimp.ok) << gimp.error;
    EXPECT_EQ((RawColour{gimp.value.red[1], gimp.value.green[1], gimp.value.blue[1]}), (RawColour{17, 16, 0}));
    EXPECT_EQ((RawColour{gimp.value.red[15], gimp.value.green[15], gimp.value.blue[15]}), (RawColour{13, 0, 31}));
}

// Files as emulators and other editors write them, put together by hand.
TEST(PaletteFiles, ReadsWhatEmulatorsAndEditorsWrite)
{
    Bytes cgram(512, 0);
    // Palette 6, colour 1: (1, 2, 3) = 0x0C41 with bit 15 set, as dumps may have it.
    cgram[6 * 32 + 2] = 0x41;
    cgram[6 * 32 + 3] = 0x8C;
    cgram[7 * 32 + 2] = 0x1F; // palette 7, colour 1: red 31
    // RIFF: "RIFF", size, "PAL ", a chunk to pass over, "data": version
    // 0x0300, 16 entries of r g b flags; entry 1 is (8, 16, 24).
    Bytes riff = text("RIFF");
    riff.insert(riff.end(), {0, 0, 0, 0});
    for (char ch : std::string("PAL junk")) riff.push_back(static_cast<std::uint8_t>(ch));
    riff.insert(riff.end(), {3, 0, 0, 0, 9, 9, 9, 0}); // odd size, one pad byte
    for (char ch : std::string("data")) riff.push_back(static_cast<std::uint8_t>(ch));
    riff.insert(riff.end(), {68, 0, 0, 0, 0, 3, 16, 0});
    for (int k = 0; k < 16; ++k)
        riff.insert(riff.end(), {static_cast<std::uint8_t>(8 * k), static_cast<std::uint8_t>(16 * k),
                                 static_cast<std::uint8_t>(24 * k % 256), 0});
    struct Case {
        const char* what;
        PaletteFileKind kind;
        Bytes bytes;
        int dumpPalette;
        RawColour colour1;
    } cases[] = {
        {"CGRAM palette 6", PaletteFileKind::SnesWords, cgram, 6, {1, 2, 3}},
        {"CGRAM palette 7", PaletteFileKind::SnesWords, cgram, 7, {31, 0, 0}},
        {"RIFF", PaletteFileKind::Jasc, riff, 0, {1, 2, 3}},
        {"JASC with alpha", PaletteFileKind::Jasc, text("JASC-PAL\r\n0100\r\n16\r\n0 0 0 0\r\n15 23 31 255\r\n" +
                                                        colourLines(14, "\r\n")), 0, {1, 2, 3}},
    };
    for (const Case& c : cases) {
        const auto r = readPaletteFile(c.kind, c.bytes, c.dumpPalette);
        ASSERT_TRUE(r.ok) << c.what << ": " << r.error;
        EXPECT_EQ((RawColour{r.value.red[1], r.value.green[1], r.value.blue[1]}), c.colour1) << c.what;
    }
    // Bit 15 of colours 1 and 15 goes back into the words as the ROM had it.
    const Bytes bin = writePaletteFile(PaletteFileKind::SnesWords, samplePalette(), "", (1u << 1) | (1u << 15));
    EXPECT_EQ((Bytes{bin[2], bin[3], bin[4], bin[5], bin[30], bin[31]}), (Bytes{0x41, 0x8C, 0xA2, 0x13, 0x0F, 0xFA}));
}

TEST(PaletteFiles, RefusesGarbageAndShortFiles)
{
    Bytes act768(768, 1), act772(772, 1);
    act772[768] = 0;
    act772[769] = 8;
    struct Case {
        PaletteFileKind kind;
        Bytes bytes;
        const char* message;
    } cases[] = {
        {PaletteFileKind::Gimp, text("GIMP Palette\n" + colourLines(15, "\n")), "holds 15 colours; a palette needs 16"},
        {PaletteFileKind::Gimp, text("GIMP Palette\n0 0 0\nhello world\n" + colourLines(16, "\n")),
         "Line 3 of the palette file is not a colour: \"hello world\""},
        {PaletteFileKind::Gimp, text("GIMP Palette\n0 256 0\n" + colourLines(16, "\n")), "Line 2"},
        {PaletteFileKind::Gimp, text("GIMP Palette\n0 0 0\nName: late\n" + colourLines(16, "\n")), "Line 3"},
        {PaletteFileKind::Gimp, text("JASC-PAL\n" + colourLines(16, "\n")), "not a GIMP palette"},
        {PaletteFileKind::Jasc, text("JASC-PAL\n0100\n16\n" + colourLines(15, "\n")), "announces 16 colours and holds 15"},
        {PaletteFileKind::Jasc, text("JASC-PAL\n0100\n8\n" + colourLines(8, "\n")), "holds 8 colours"},
        {PaletteFileKind::Jasc, text("JASC-PAL\n0100\n16\n1 2 3 4 5\n" + colourLines(15, "\n")), "Line 4"},
        {PaletteFileKind::Jasc, text("JASC-PAL\n0100\n16\n1 2 3 x\n" + colourLines(15, "\n")), "Line 4"},
        {PaletteFileKind::Jasc, Bytes{'R', 'I', 'F', 'F', 16, 0, 0, 0, 'P', 'A', 'L', ' ', 'd', 'a', 't', 'a', 64, 0, 0, 0},
         "no whole data chunk"},
        {PaletteFileKind::SnesWords, Bytes(512, 0), "holds palettes 0 to 15, not 16"},
        {PaletteFileKind::Jasc, text("JASC-PAL\n0100\n16\n" + colourLines(17, "\n")), "Line 20"},
        {PaletteFileKind::Jasc, text("JASC-PAL\n0100\nlots\n" + colourLines(16, "\n")), "Line 3"},
        {PaletteFileKind::Jasc, text("JASC-PAL\n0\n16\n" + colourLines(16, "\n")), "not a JASC palette"},
        {PaletteFileKind::Adobe, Bytes(700, 0), "768 or 772 bytes; this file has 700"},
        {PaletteFileKind::Adobe, act772, "holds 8 colours"},
        {PaletteFileKind::SnesWords, Bytes(31, 0), "32 bytes; this file has 31"},
    };
    for (const Case& c : cases) {
        const auto r = readPaletteFile(c.kind, c.bytes, 16);
        EXPECT_FALSE(r.ok) << c.message;
        EXPECT_NE(r.error.find(c.message), std::string::npos) << r.error;
    }
    EXPECT_TRUE(readPaletteFile(PaletteFileKind::Adobe, act768).ok);
}

TEST(PaletteFiles, KindComesFromTheExtensionInAnyCase)
{
    EXPECT_EQ(paletteFileKind("a/b.GPL"), PaletteFileKind::Gimp);
    EXPECT_EQ(paletteFileKind("x.Pal"), PaletteFileKind::Jasc);
    EXPECT_EQ(paletteFileKind("x.act"), PaletteFileKind::Adobe);
    EXPECT_EQ(paletteFileKind("x.tar.bin"), PaletteFileKind::SnesWords);
    EXPECT_EQ(paletteFileKind("x.png"), std::nullopt);
    EXPECT_EQ(paletteFileKind("dir.gpl/pal"), std::nullopt);

    const testing::ScratchFolder dir;
    const RawPalette raw = samplePalette();
    EXPECT_EQ(exportPaletteFile(dir.file("p.PAL"), raw).error, "");
    const auto back = importPaletteFile(dir.file("p.PAL"));
    ASSERT_TRUE(back.ok) << back.error;
    EXPECT_EQ(back.value.blue[7], raw.blue[7]);
    EXPECT_NE(exportPaletteFile(dir.file("p.txt"), raw).error.find(".gpl, .pal, .act or .bin"), std::string::npos);
    EXPECT_FALSE(importPaletteFile(dir.file("missing.gpl")).ok);
}

} // namespace
} // namespace tessel

#include "interchange/patch_apply.h"

#include <gtest/gtest.h>

#include "rom/sprite_catalogue.h"
#include "support/synthetic_rom.h"

namespace tessel {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Pair {
    Bytes clean = testing::buildSyntheticRom();
    Bytes edited = clean;
    Bytes dump(const Bytes& image) const { return Bytes(image.begin() + 512, image.end()); }
};

TEST(PatchApply, CopierPairPatchesApplyToTheDumpAndToTheCopierImage)
{
    Pair rom;
    rom.edited[0x110200] ^= 0x5A;                       // sprite 0
    std::fill_n(rom.edited.begin() + 0x150000, 300, 3); // a run inside some sprite
    for (PatchFormat format : {PatchFormat::Bps, PatchFormat::Ips}) {
        const Bytes patch = makeRomPatch(format, rom.clean, rom.edited).value;
        const auto onDump = format == PatchFormat::Bps ? applyBpsPatch(patch, rom.dump(rom.clean))
                                                       : applyIpsPatch(patch, rom.dump(rom.clean));
        ASSERT_TRUE(onDump.ok) << onDump.error;
        EXPECT_TRUE(onDump.value == rom.dump(rom.edited));
        const auto onImage = applyRomPatch(format, patch, rom.clean, "game.smc");
        ASSERT_TRUE(onImage.ok) << onImage.error;
        EXPECT_TRUE(onImage.value == rom.edited);
        EXPECT_TRUE(applyRomPatch(format, patch, rom.dump(rom.clean), "game.sfc").value == rom.dump(rom.edited));
    }
    // A BPS made with the header in it still applies to the copier image.
    EXPECT_TRUE(applyRomPatch(PatchFormat::Bps, makeBpsPatch(rom.clean, rom.edited).value, rom.clean, "g").value ==
                rom.edited);
}

TEST(PatchApply, PatchesForAnotherRomOrDamagedAreRefused)
{
    Pair rom;
    rom.edited[0x110200] ^= 1;
    Bytes patch = makeRomPatch(PatchFormat::Bps, rom.clean, rom.edited).value;
    Bytes other = rom.clean;
    other[0x120000] ^= 1;
    EXPECT_EQ(applyRomPatch(PatchFormat::Bps, patch, other, "other.smc").error.find(
                  "The patch is for another ROM: it expects a file of 2097152 bytes with CRC-32 "),
              0u);
    EXPECT_NE(applyRomPatch(PatchFormat::Bps, patch, other, "other.smc").error.find(", and other.smc has 2097152 bytes"),
              std::string::npos);
    patch[10] ^= 1;
    EXPECT_NE(applyBpsPatch(patch, rom.dump(rom.clean)).error.find("its own CRC-32"), std::string::npos);
    const Bytes cut = {'P', 'A', 'T', 'C', 'H', 0, 0, 1, 0, 9, 1, 2};
    EXPECT_FALSE(applyIpsPatch(cut, rom.clean).ok);
    // Three bytes after "EOF" cut the file to that length.
    const Bytes shorten = {'P', 'A', 'T', 'C', 'H', 0, 0, 1, 0, 1, 'x', 'E', 'O', 'F', 0, 0, 2};
    EXPECT_EQ(applyIpsPatch(shorten, Bytes{'a', 'b', 'c', 'd'}).value, (Bytes{'a', 'x'}));
    EXPECT_FALSE(patchWrites(PatchFormat::Ips, cut).ok);
}

TEST(PatchApply, EffectsAreSpritesPalettesAndOtherBytes)
{
    Pair rom;
    const auto& catalogue = spriteCatalogue();
    rom.edited[0x110200 + 5] ^= 1;            // sprite 0
    rom.edited[0x1547BF] ^= 1;                // the last byte of sprite 1143
    rom.edited[0x30200 + 5 * 32 + 6] ^= 1;    // palette 5, colour 3
    rom.edited[0x30200 + 7 * 32] ^= 1;        // palette 7, colour 0
    rom.edited[0x30200 + 9 * 32 + 3] ^= 0x80; // palette 9, bit 15 of colour 1
    rom.edited[catalogue[106].endOffset()] ^= 1; // the gap after sprite 106
    const PatchEffect effect = romPatchEffect(rom.clean, rom.edited);
    EXPECT_EQ(effect.sprites, (std::vector<int>{0, 1143}));
    EXPECT_EQ(effect.palettes, (std::vector<int>{5, 9}));
    const std::size_t gap = static_cast<std::size_t>(catalogue[106].endOffset());
    EXPECT_EQ(effect.other, (std::vector<ByteRange>{{0x302E0, 0x302E1}, {0x30323, 0x30324}, {gap, gap + 1}}));
    EXPECT_EQ(describePatchEffect(effect)[4], "bytes 0x0302E0-0x0302E0 (1 byte; 0x0300E0 in a dump)");

    // The same from the patch alone, and from a dump.
    const Bytes ips = makeRomPatch(PatchFormat::Ips, rom.clean, rom.edited).value;
    EXPECT_EQ(patchEffect(patchWrites(PatchFormat::Ips, ips).value).sprites, effect.sprites);
    const Bytes bps = makeRomPatch(PatchFormat::Bps, rom.clean, rom.edited).value;
    EXPECT_EQ(patchEffect(patchWrites(PatchFormat::Bps, bps).value).palettes, (std::vector<int>{5, 9}));
    EXPECT_EQ(romPatchEffect(rom.dump(rom.clean), rom.dump(rom.edited)).other, effect.other);

    Bytes grown = rom.clean;
    grown.push_back(0);
    EXPECT_EQ(romPatchEffect(rom.clean, grown).other, (std::vector<ByteRange>{{0x200200, 0x200201}}));
}

} // namespace
} // namespace tessel

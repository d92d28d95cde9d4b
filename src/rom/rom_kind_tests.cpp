#include <gtest/gtest.h>

#include "rom/rom_session.h"
#include "rom/sprite_catalogue.h"
#include "support/scratch_file.h"
#include "support/synthetic_rom.h"

namespace tessel {
namespace {

using testing::ScratchFile;

std::vector<std::uint8_t> withoutHeader(std::vector<std::uint8_t> rom)
{
    rom.erase(rom.begin(), rom.begin() + 512);
    return rom;
}

struct KindCase {
    const char* name;
    std::vector<std::uint8_t> bytes;
    RomIdentity identity;
    RomKind kind;
    bool endsBeforeSprites;
};

TEST(RomKind, TheTitleTellsACopierImageFromADump)
{
    const auto rom = testing::buildSyntheticRom();
    auto both = rom; // a dump's title also 512 bytes before: the copier place wins
    std::copy_n(kRomTitle, 11, both.begin() + kHeaderlessTitleOffset);
    auto renamed = testing::buildSyntheticRom({.title = "OAKEN SHORF"});
    const KindCase cases[] = {
        {"copier image", rom, RomIdentity::TitleMatches, RomKind::CopierImage, false},
        {"dump without header", withoutHeader(rom), RomIdentity::TitleMatches, RomKind::Headerless,
         false},
        {"title in both places", both, RomIdentity::TitleMatches, RomKind::CopierImage, false},
        {"title in neither place", renamed, RomIdentity::TitleDiffers, RomKind::Unknown, false},
        {"dump cut after its title", withoutHeader(testing::buildSyntheticRom({.truncateAt = 0x20000})),
         RomIdentity::TitleMatches, RomKind::Headerless, true},
        {"too short for either title", std::vector<std::uint8_t>(0xFFC5, 0), RomIdentity::TitleDiffers,
         RomKind::Unknown, true},
        {"empty", {}, RomIdentity::TitleDiffers, RomKind::Unknown, true},
    };
    for (const KindCase& c : cases) {
        ScratchFile file;
        file.write(c.bytes);
        RomProbe probe;
        EXPECT_EQ(checkRomIdentity(file.path(), systemFileIo(), nullptr, nullptr, &probe), c.identity)
            << c.name;
        EXPECT_EQ(probe.kind, c.kind) << c.name;
        EXPECT_EQ(probe.fileBytes, static_cast<long long>(c.bytes.size())) << c.name;
        EXPECT_EQ(probe.endsBeforeSprites(), c.endsBeforeSprites) << c.name;
    }
}

TEST(RomKind, WhatWasFoundReadsAsText)
{
    RomTitle title{};
    std::copy_n("OAKEN\x01SHORF", 11, title.begin());
    EXPECT_EQ(describeTitle(title, 0x101C0, 0x200200), "\"OAKEN.SHORF\"");
    EXPECT_EQ(describeTitle(title, 0x101C0, 0x101C5), "\"OAKEN\" (where the file ends)");
    EXPECT_EQ(describeTitle(title, 0x101C0, 0x101C0), "(the file ends before)");
}

} // namespace
} // namespace tessel

#include <gtest/gtest.h>

#include <unistd.h>

#include "model/edit_marks.h"
#include "rom/rom_copy.h"
#include "rom/sprite_catalogue.h"
#include "support/rom_fixture.h"

namespace tessel {
namespace {

using testing::RomFixture;
using testing::ScratchFile;

TEST(RomCopy, HoldsTheEditsLeavesTheRomAndItsMarksAndNeverGoesOverIt)
{
    RomFixture rom;
    RomDocument& document = rom.state().document;
    // Pixel (0, 0) of sprite 9 is bit 7 of its first tile's first four
    // plane bytes (0, 1, 16, 17): colour 15 sets all four.
    document.spriteStore[9].pixels[0] = 15;
    markSpriteEdited(document, 9);
    std::vector<std::uint8_t> expected = rom.original;
    const long long tile = spriteCatalogue()[9].romOffset;
    for (int b : {0, 1, 16, 17}) expected[tile + b] |= 0x80;

    ScratchFile folder(ScratchFile::Kind::Directory);
    const std::string link = folder.path() + "/link.smc", hard = folder.path() + "/hard.smc";
    ASSERT_EQ(::symlink(rom.path().c_str(), link.c_str()), 0);
    ASSERT_EQ(::link(rom.path().c_str(), hard.c_str()), 0);
    for (const std::string& target : {rom.path(), link, hard}) {
        const IoResult r = saveRomCopy(document, target);
        EXPECT_FALSE(r.ok) << target;
        EXPECT_NE(r.error.find("the open ROM"), std::string::npos) << r.error;
    }
    EXPECT_EQ(rom.fileBytes(), rom.original);
    RomCopy copy;
    const std::string target = folder.path() + "/copy.smc";
    ASSERT_TRUE(saveRomCopy(document, target, &copy).ok);
    EXPECT_EQ(testing::readFileBytes(target), expected);
    EXPECT_EQ(copy.spritesChanged, 1);
    EXPECT_TRUE(isSpriteEdited(document, 9));
}

} // namespace
} // namespace tessel

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>

#include "rom/rom_session.h"
#include "support/demo_rom.h"
#include "support/scratch_file.h"

namespace tessel {
namespace {

TEST(DemoRom, OpensAsBothKindsWithArtInEverySpriteAndAVisibleFirstStroke)
{
    const std::vector<std::uint8_t> image = testing::buildDemoRom();
    for (const bool header : {true, false}) {
        testing::ScratchFile file;
        file.write(header ? image : std::vector<std::uint8_t>(image.begin() + 512, image.end()));
        RomProbe probe;
        ASSERT_EQ(checkRomIdentity(file.path(), systemFileIo(), nullptr, nullptr, &probe), RomIdentity::TitleMatches);
        EXPECT_EQ(probe.kind, header ? RomKind::CopierImage : RomKind::Headerless);
        EXPECT_FALSE(probe.endsBeforeSprites());
        auto document = std::make_unique<RomDocument>();
        ASSERT_TRUE(document->romFile.open(file.path()).ok);
        document->romFile.setCopierHeader(header);
        ASSERT_TRUE(loadAllSprites(*document).ok);
        for (int i = 0; i < kSpriteCount; ++i) {
            const SpriteRecord& r = document->spriteStore[i];
            int drawn = 0;
            std::array<bool, 16> used{};
            for (int y = 0; y < r.heightPixels(); ++y)
                for (int x = 0; x < r.widthPixels(); ++x) {
                    drawn += r.pixels[y * kBufferWidth + x] != 0;
                    used[r.pixels[y * kBufferWidth + x] & 15] = true;
                }
            // An eighth of the sprite or more is drawn.
            EXPECT_GT(drawn, r.widthPixels() * r.heightPixels() / 8) << i;
            if (i == 0) {
                EXPECT_EQ(drawn, r.widthPixels() * r.heightPixels()); // colour 0 shows on every pixel
            }
            EXPECT_GE(std::count(used.begin(), used.end(), true), 3) << i; // shaded, not a block
        }
        // Palettes as a game's: a dark outline, and no two colours alike.
        for (int p = 0; p < kPaletteCount; ++p) {
            const DisplayPalette& d = document->displayPalettes[p];
            EXPECT_LT(d.red[1] + d.green[1] + d.blue[1], 3 * 64) << p;
            for (int a = 1; a < 16; ++a)
                for (int b = a + 1; b < 16; ++b)
                    EXPECT_FALSE(colourOf(d, a) == colourOf(d, b)) << p << ' ' << a << ' ' << b;
        }
    }
}

} // namespace
} // namespace tessel

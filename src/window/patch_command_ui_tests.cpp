// File > Apply Patch with scripted dialogs: sprites become edits, palettes
// are written after asking, other bytes go only to a new file.
#include <QAction>

#include "window/window_test_fixture.h"
#include "file/durable_file.h"
#include "interchange/patch_formats.h"
#include "model/command_ids.h"
#include "model/edit_marks.h"
#include "rom/sprite_catalogue.h"
#include "support/scratch_file.h"
#include "support/synthetic_rom.h"

namespace tessel::testing {
namespace {

class ApplyPatch : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        rom = dir.filePath("game.smc").toStdString();
        ASSERT_TRUE(writeSyntheticRom(rom));
        original = readFileBytes(rom);
        edited = original;
        edited[spriteCatalogue()[0].romOffset + 1] ^= 0x81;
        edited[spriteCatalogue()[5].romOffset + 40] ^= 0x18;
        edited[0x30200 + 2 * 32 + 4] ^= 0x1F; // palette 2, colour 2
        prompts.nextPath = QString::fromStdString(rom);
        window->runCommand(ids::OpenRom);
        ASSERT_TRUE(state->romOpen());
    }
    // The patch from the ROM to `target`, applied through the menu.
    void apply(const std::vector<std::uint8_t>& target, const char* name, QStringList answers = {})
    {
        const std::string patch = dir.filePath(name).toStdString();
        ASSERT_TRUE(writeWholeFile(patch, makeRomPatch(*patchFormat(name), readFileBytes(rom), target).value).ok);
        prompts.nextPaths = {QString::fromStdString(patch)};
        for (const QString& a : answers) prompts.nextPaths.push_back(a);
        window->runCommand(ids::ApplyPatch);
    }
    std::string rom;
    std::vector<std::uint8_t> original, edited;
};

TEST_F(ApplyPatch, SpritesBecomeEditsAndPalettesAreWrittenAfterAsking)
{
    EXPECT_TRUE(window->action(ids::ApplyPatch)->isEnabled());
    const PixelBuffer before = state->current().pixels;
    apply(edited, "art.ips");
    ASSERT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join("\n").toStdString();
    ASSERT_EQ(prompts.questions.size(), 1);
    EXPECT_TRUE(prompts.questions[0].contains("palette 2")) << prompts.questions[0].toStdString();
    EXPECT_TRUE(isSpriteEdited(state->document, 0) && isSpriteEdited(state->document, 5));
    EXPECT_EQ(editedSpriteCount(state->document), 2);
    // Only the palette is in the file so far.
    std::vector<std::uint8_t> paletteOnly = original;
    std::copy_n(edited.begin() + 0x30200, 1024, paletteOnly.begin() + 0x30200);
    EXPECT_TRUE(readFileBytes(rom) == paletteOnly);
    EXPECT_NE(state->current().pixels, before);
    window->runCommand(ids::Undo);
    EXPECT_EQ(state->current().pixels, before);

    apply(edited, "art2.ips"); // the palette is there now: nothing to ask
    EXPECT_EQ(prompts.questions.size(), 1);
    window->runCommand(ids::SaveAllSprites);
    EXPECT_TRUE(readFileBytes(rom) == edited);
}

TEST_F(ApplyPatch, OtherBytesGoOnlyToANewFile)
{
    std::vector<std::uint8_t> other = edited;
    other[0x101C0 + 21] ^= 1; // the game's header, beyond the art
    const QString copy = dir.filePath("patched.smc");
    apply(other, "other.bps", {copy});
    ASSERT_EQ(prompts.informations.size(), 1);
    EXPECT_TRUE(prompts.informations[0].contains("not applied to the ROM itself")) << prompts.informations[0].toStdString();
    EXPECT_TRUE(readFileBytes(copy.toStdString()) == other);
    EXPECT_TRUE(readFileBytes(rom) == original);
    EXPECT_EQ(editedSpriteCount(state->document), 0);

    apply(original, "nothing.bps");
    EXPECT_TRUE(prompts.informations.back().contains("changes nothing"));
    std::vector<std::uint8_t> foreign = original;
    foreign[0x120000] ^= 1;
    ASSERT_TRUE(writeWholeFile(rom, foreign).ok); // another ROM now: the BPS above no longer fits
    window->runCommand(ids::CloseRom);
    prompts.nextPath = QString::fromStdString(rom);
    window->runCommand(ids::OpenRom);
    prompts.nextPaths = {dir.filePath("other.bps")};
    window->runCommand(ids::ApplyPatch);
    ASSERT_EQ(prompts.errors.size(), 1);
    EXPECT_TRUE(prompts.errors[0].startsWith("The patch is for another ROM")) << prompts.errors[0].toStdString();
    EXPECT_TRUE(readFileBytes(rom) == foreign);
}

} // namespace
} // namespace tessel::testing

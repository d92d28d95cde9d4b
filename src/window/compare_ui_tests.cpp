// Compare With in the window: the other ROM's window and list, a sprite
// chosen from the list, and Take Sprite from Other ROM as one edit.
#include <QAction>
#include <QListWidget>

#include "rom/sprite_catalogue.h"
#include "support/synthetic_rom.h"
#include "views/other_rom_window.h"
#include "window/status_line.h"
#include "window/window_test_fixture.h"
#include "model/command_ids.h"
#include "model/edit_marks.h"

namespace tessel::testing {
namespace {

using CompareUi = WindowTest;

TEST_F(CompareUi, TakeSpriteFromTheListedSpriteIsOneUndoableMarkedEdit)
{
    const QString ours = dir.filePath("game.smc"), theirs = dir.filePath("other.smc");
    ASSERT_TRUE(writeSyntheticRom(ours.toStdString()));
    auto bytes = buildSyntheticRom();
    bytes[spriteCatalogue()[5].romOffset] ^= 0xFF;
    QFile other(theirs);
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
    other.close();
    prompts.nextPath = ours;
    window->runCommand(ids::OpenRom);
    ASSERT_TRUE(state->romOpen());
    EXPECT_FALSE(state->window.commands.isEnabled(ids::TakeSpriteFromOther));

    prompts.nextPath = theirs;
    window->runCommand(ids::CompareWith);
    OtherRomWindow* otherRom = window->otherRom();
    ASSERT_TRUE(otherRom->isVisible()) << prompts.errors.join("\n").toStdString();
    EXPECT_EQ(otherRom->windowTitle(),
              QStringLiteral("Other ROM \u2014 1 sprite differs \u2014 Sprite 0 is the same in other.smc"));
    EXPECT_EQ(window->statusLine()->shownText(), "1 sprite and 0 palettes differ from other.smc");
    ASSERT_EQ(otherRom->list()->count(), 1);
    emit otherRom->list()->itemActivated(otherRom->list()->item(0));
    ASSERT_EQ(state->currentSprite, 5);
    EXPECT_EQ(otherRom->spriteLineText(), "Sprite 5 differs from other.smc");

    const PixelBuffer before = state->current().pixels;
    window->runCommand(ids::TakeSpriteFromOther);
    EXPECT_EQ(state->current().pixels, otherRom->comparison().other().spriteStore[5].pixels);
    EXPECT_NE(state->current().pixels, before);
    EXPECT_TRUE(isSpriteEdited(state->document, 5));
    EXPECT_FALSE(otherRom->spriteDiffers(5));
    EXPECT_TRUE(otherRom->windowTitle().startsWith(QStringLiteral("Other ROM \u2014 0 sprites differ")));
    EXPECT_EQ(state->undo.top, 0);
    const auto states = state->journal.statesOf(5);
    ASSERT_FALSE(states.empty());
    EXPECT_EQ(states.back()->cause, EditCause::OtherRom);

    window->runCommand(ids::Undo);
    EXPECT_EQ(state->current().pixels, before);
    EXPECT_TRUE(otherRom->spriteDiffers(5));

    prompts.saveAnswer = SaveChoice::Discard;
    window->runCommand(ids::CloseRom);
    EXPECT_FALSE(otherRom->comparing());
    EXPECT_FALSE(otherRom->isVisible());
    EXPECT_FALSE(otherRom->spriteDiffers(5));
    EXPECT_FALSE(state->window.commands.isEnabled(ids::TakeSpriteFromOther));
}

} // namespace
} // namespace tessel::testing

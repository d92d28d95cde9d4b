// The one rule of what is unsaved, driven through the operations a user
// reaches: a pixel set by hand, Undo, Redo, an import and a restore.
#include <gtest/gtest.h>

#include <functional>

#include "model/edit_marks.h"
#include "rom/rom_session.h"
#include "rom/unsaved_sprites.h"
#include "support/rom_fixture.h"
#include "support/synthetic_rom.h"
#include "tools/undo.h"

namespace tessel {
namespace {

using Step = std::function<void(EditorState&)>;

// A hand edit of pixel (5, 5) of the current sprite to a colour it does not
// have, as a pencil press does it: the snapshot first, then the pixel.
void edit(EditorState& s)
{
    pushUndoSnapshot(s);
    std::uint8_t& p = s.current().pixels[5 * kBufferWidth + 5];
    p = static_cast<std::uint8_t>((p + 1) & 15);
}
// An import or a restore writes pixels the ROM already has, and says so.
void pendingWithSavedPixels(EditorState& s) { markSpritePending(s.document, s.currentSprite); }

TEST(UnsavedSprites, TheOneRuleFollowsThePixelsUnlessAnImportOrRestoreIsPending)
{
    const struct {
        const char* name;
        std::vector<Step> steps;
        bool unsaved;
    } cases[] = {
        {"nothing", {}, false},
        {"edit", {edit}, true},
        {"edit, undo", {edit, undo}, false},
        {"edit, undo, redo", {edit, undo, redo}, true},
        {"edit, edit, undo", {edit, edit, undo}, true},
        {"import or restore pending", {pendingWithSavedPixels}, true},
        {"pending, then an edit undone", {pendingWithSavedPixels, edit, undo}, false},
        {"edit, save", {edit, [](EditorState& s) { saveSprite(s.document, 0); }}, false},
    };
    for (const auto& c : cases) {
        testing::RomFixture rom;
        EditorState& s = rom.state();
        for (const Step& step : c.steps) step(s);
        settleSpriteMark(s.document, 0);
        EXPECT_EQ(isSpriteUnsaved(s.document, 0), c.unsaved) << c.name;
        // The settled mark, which the caption shows, agrees with the rule
        // that the questions ask.
        EXPECT_EQ(isSpriteEdited(s.document, 0), c.unsaved) << c.name;
        EXPECT_EQ(hasUnsavedEdits(s.document), c.unsaved) << c.name;
        EXPECT_EQ(unsavedSpriteCount(s.document), c.unsaved ? 1 : 0) << c.name;
    }
}

TEST(UnsavedSprites, ASpriteThatCannotBeComparedStaysUnsavedWhileMarked)
{
    testing::RomFixture rom;
    EditorState& s = rom.state();
    edit(s);
    s.current().romOffset = kSpriteAreaEnd; // a damaged record, past the sprite area
    undo(s);
    settleSpriteMark(s.document, 0);
    EXPECT_TRUE(isSpriteUnsaved(s.document, 0));
    EXPECT_TRUE(isSpriteEdited(s.document, 0));
}

} // namespace
} // namespace tessel

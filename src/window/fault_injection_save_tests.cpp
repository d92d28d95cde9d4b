// Faults survived, saving: each kind of file operation fails in turn, once,
// during Save Current Sprite, Save All Sprites and the palette editor's
// Apply Changes. The user is told why, the file holds exactly what the
// outcome says, an edit the file lacks is still known as unsaved, and the
// same command succeeds once the fault is gone.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "window/fault_injection_fixture.h"
#include "dialogs/palette_editor_dialog.h"
#include "model/edit_marks.h"

namespace tessel::testing {
namespace {

// --- Saving sprites -----------------------------------------------------------

class SaveSpriteFaults : public FaultsSurvived, public ::testing::WithParamInterface<Fault> {};

TEST_P(SaveSpriteFaults, TheUserIsToldAndTheNextSaveWorks)
{
    const Fault f = GetParam();
    ASSERT_TRUE(openRom(rom.path()));
    state->document.spriteStore[0].pixels[0] = kNewIndex0;
    markSpriteEdited(state->document, 0);
    faults.reset();
    faults.failOn(f.op, f.nth, f.error);
    window->runCommand(ids::SaveCurrentSprite);
    expectToldOnce("The sprite could not be saved to the ROM.", f.error);
    EXPECT_EQ(firstDifference(rom.read(), withEdits(f.editsInFile)), -1);
    // A save that failed saved nothing, even where the system's cache holds
    // the bytes (a failed flush): leaving asks about the edit.
    EXPECT_TRUE(closingAsks());
    ASSERT_TRUE(state->romOpen());

    window->runCommand(ids::SaveSpriteButton);
    EXPECT_EQ(prompts.errors.size(), 1);
    EXPECT_EQ(firstDifference(rom.read(), withEdits(1)), -1);
    EXPECT_FALSE(closingAsks());
}

// Save Current Sprite: the held file's and the path's state, the file's
// size, the size again as the write checks it, the write, the flush.
INSTANTIATE_TEST_SUITE_P(EachCall, SaveSpriteFaults,
                         ::testing::Values(Fault{IoOp::Status, 1, EIO, 0},
                                           Fault{IoOp::PathStatus, 1, EACCES, 0},
                                           Fault{IoOp::Size, 1, EIO, 0},
                                           Fault{IoOp::Size, 2, EOVERFLOW, 0},
                                           Fault{IoOp::Pwrite, 1, ENOSPC, 0},
                                           Fault{IoOp::Fsync, 1, EIO, 1}),
                         rowName);

class SaveAllFaults : public FaultsSurvived, public ::testing::WithParamInterface<Fault> {};

TEST_P(SaveAllFaults, TheUserIsToldAndTheNextSaveWorks)
{
    const Fault f = GetParam();
    ASSERT_TRUE(openRom(rom.path()));
    state->document.spriteStore[0].pixels[0] = kNewIndex0;
    state->document.spriteStore[1143].pixels[0] = kNewIndex1143;
    markSpriteEdited(state->document, 0);
    markSpriteEdited(state->document, 1143);
    faults.reset();
    faults.failOn(f.op, f.nth, f.error);
    window->runCommand(ids::SaveAllSprites);
    expectToldOnce("The sprites could not all be saved to the ROM.", f.error);
    EXPECT_EQ(firstDifference(rom.read(), withEdits(f.editsInFile)), -1);
    EXPECT_TRUE(closingAsks());
    ASSERT_TRUE(state->romOpen());

    window->runCommand(ids::SaveAllSprites);
    EXPECT_EQ(prompts.errors.size(), 1);
    EXPECT_EQ(firstDifference(rom.read(), withEdits(2)), -1);
    EXPECT_FALSE(closingAsks());
}

// Save All: the file's state and size, then per run of changed tiles the
// size check and the write, and one flush.
INSTANTIATE_TEST_SUITE_P(EachCall, SaveAllFaults,
                         ::testing::Values(Fault{IoOp::Status, 1, EIO, 0},
                                           Fault{IoOp::Size, 1, EIO, 0},
                                           Fault{IoOp::Pwrite, 1, ENOSPC, 0},
                                           Fault{IoOp::Pwrite, 2, ENOSPC, 1},
                                           Fault{IoOp::Size, 3, EIO, 1},
                                           Fault{IoOp::Fsync, 1, EIO, 2}),
                         rowName);

TEST_F(FaultsSurvived, ShortWritesStillSaveEveryByte)
{
    ASSERT_TRUE(openRom(rom.path()));
    state->document.spriteStore[0].pixels[0] = kNewIndex0;
    state->document.spriteStore[1143].pixels[0] = kNewIndex1143;
    markSpriteEdited(state->document, 0);
    markSpriteEdited(state->document, 1143);
    faults.limitWrites(1);
    window->runCommand(ids::SaveAllSprites);
    EXPECT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join("|").toStdString();
    EXPECT_EQ(firstDifference(rom.read(), withEdits(2)), -1);
}

// --- The palette editor's Apply Changes ----------------------------------------

class ApplyFaults : public FaultsSurvived, public ::testing::WithParamInterface<Fault> {};

// Colour 4 of palette 3 becomes raw (1, 2, 3): the word 3 << 10 | 2 << 5 | 1
// = 0x0C41, little-endian at 0x30200 + 32 * 3 + 2 * 4.
constexpr long long kColourWordAt = 0x30268;

TEST_P(ApplyFaults, TheUserIsToldAndTheNextApplyWorks)
{
    const Fault f = GetParam();
    ASSERT_TRUE(openRom(rom.path()));
    PaletteEditorDialog editor(*state, prompts, window.get());
    editor.findChild<QComboBox*>("1078")->setCurrentIndex(3);
    QTest::mouseClick(editor.findChild<QWidget*>("1084"), Qt::LeftButton);
    for (int i = 0; i < 3; ++i) {
        auto* field = editor.findChild<QLineEdit*>(QString::number(1096 + i));
        field->selectAll();
        QTest::keyClicks(field, QString::number(i + 1));
    }
    editor.findChild<QPushButton*>("1100")->click(); // << Add Color
    // Apply writes the one colour that changed.
    std::vector<std::uint8_t> applied = original;
    applied[kColourWordAt] = 0x41;
    applied[kColourWordAt + 1] = 0x0C;
    const ExpectedColour before = expectedRawColour(3, 4);

    faults.reset();
    faults.failOn(f.op, f.nth, f.error);
    editor.findChild<QPushButton*>("1079")->click();
    expectToldOnce("Palette 3", f.error);
    EXPECT_EQ(firstDifference(rom.read(), f.editsInFile ? applied : original), -1);
    // The store keeps the palette as loaded until a write reached the
    // disk and was read back, so the next Apply writes the colour again.
    EXPECT_EQ(state->document.rawPalettes[3].red[4], before.red);
    EXPECT_EQ(state->document.rawPalettes[3].blue[4], before.blue);

    editor.findChild<QPushButton*>("1079")->click();
    EXPECT_EQ(prompts.errors.size(), 1);
    EXPECT_EQ(firstDifference(rom.read(), applied), -1);
    EXPECT_EQ(state->document.rawPalettes[3].red[4], 1);
    EXPECT_EQ(state->document.rawPalettes[3].green[4], 2);
    EXPECT_EQ(state->document.rawPalettes[3].blue[4], 3);
}

// Apply: the file's size, its colour words read (for bit 15), the size
// check of the write, the write, the flush, then the read back into the
// palette store.
INSTANTIATE_TEST_SUITE_P(EachCall, ApplyFaults,
                         ::testing::Values(Fault{IoOp::Size, 1, EIO, 0},
                                           Fault{IoOp::Pread, 1, EIO, 0},
                                           Fault{IoOp::Pwrite, 1, EDQUOT, 0},
                                           Fault{IoOp::Fsync, 1, EIO, 1},
                                           Fault{IoOp::Pread, 2, EIO, 1}),
                         rowName);


} // namespace
} // namespace tessel::testing

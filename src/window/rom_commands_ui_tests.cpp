// Open ROM, Close ROM, saving and the question about unsaved edits, driven
// through the window with scripted answers.
#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <cerrno>
#include <cstring>

#include "file/system_reason.h"
#include "model/edit_marks.h"
#include "window/window_test_fixture.h"
#include "file/rom_file.h"
#include "model/command_ids.h"
#include "support/fault_io.h"
#include "support/synthetic_rom.h"

namespace tessel::testing {
namespace {

const QString kCannotOpen =
    "An error occurred while attempting to open this file. Check to make sure the file is not "
    "read-only, and is not currently in use by another application.";
const QString kNotOakenshore =
    "This doesn't look like an Oakenshore ROM. Continuing may cause damage to your ROM. Do you "
    "want to continue anyway?";

const int kRomControls[] = {1025, 1026, 1027, 1028, 1030, 1061, 1065, 1066};
const int kOpenEnables[] = {57635, 57634, 57602, 57603, 32774, 32783, 32788, 32789, 32790, 32791};

class RomCommands : public WindowTest {
protected:
    void open(const QString& path)
    {
        prompts.nextPath = path;
        window->runCommand(ids::OpenRom);
    }
    void expectRomControls(bool enabled)
    {
        for (int id : kRomControls) EXPECT_EQ(window->control(id)->isEnabled(), enabled) << id;
        for (int id : kOpenEnables) EXPECT_EQ(window->action(id)->isEnabled(), enabled) << id;
        EXPECT_TRUE(window->action(ids::OpenRom)->isEnabled());
    }
    QString spriteEditText() { return control<QLineEdit>(1030)->text(); }
};

TEST_F(RomCommands, OpeningARomUnlocksTheControlsAndShowsSpriteZero)
{
    open(makeRomFile("game.smc"));
    EXPECT_TRUE(prompts.errors.isEmpty());
    EXPECT_TRUE(prompts.questions.isEmpty());
    EXPECT_TRUE(state->romOpen());
    EXPECT_EQ(state->currentSprite, 0);
    EXPECT_EQ(spriteEditText(), "0");
    expectRomControls(true);
    // Undo and Paste wait for something to undo or paste.
    EXPECT_FALSE(window->action(ids::Undo)->isEnabled());
    EXPECT_FALSE(window->action(ids::Paste)->isEnabled());
}

TEST_F(RomCommands, CancelledFileDialogChangesNothing)
{
    open(QString());
    EXPECT_EQ(prompts.fileDialogs, 1);
    EXPECT_FALSE(state->romOpen());
    expectRomControls(false);
}

TEST_F(RomCommands, AWrongTitleAsksAndYesOpensAnyway)
{
    prompts.yesNoAnswer = true;
    open(makeRomFile("other.smc", "OAKEN SHORF"));
    // The question goes on to say what the file holds where the title belongs.
    ASSERT_EQ(prompts.questions.size(), 1);
    EXPECT_TRUE(prompts.questions[0].startsWith(kNotOakenshore + "\n\n"));
    EXPECT_TRUE(prompts.questions[0].contains("\"OAKEN SHORF\"")) << prompts.questions[0].toStdString();
    EXPECT_TRUE(state->romOpen());
    expectRomControls(true);
}

TEST_F(RomCommands, AWrongTitleAnsweredNoKeepsTheOpenRom)
{
    const QString first = makeRomFile("first.smc");
    open(first);
    prompts.yesNoAnswer = false;
    open(makeRomFile("lower.smc", "oaken shore"));
    EXPECT_EQ(prompts.questions.size(), 1);
    EXPECT_EQ(QString::fromStdString(state->document.romFile.path()), first);
    expectRomControls(true);

    // A file too short to hold the title gets the same question.
    open(makeRomFile("short.smc", "OAKEN SHORE", 0x101C5));
    EXPECT_EQ(prompts.questions.size(), 2);
    EXPECT_EQ(QString::fromStdString(state->document.romFile.path()), first);
}

TEST_F(RomCommands, AFileThatCannotBeOpenedForUpdateGetsTheErrorMessage)
{
    open(dir.filePath("missing.smc"));
    ASSERT_EQ(prompts.errors.size(), 1);
    EXPECT_TRUE(prompts.errors[0].startsWith(kCannotOpen));
    EXPECT_TRUE(prompts.errors[0].contains(QString::fromStdString(systemReason(ENOENT))))
        << prompts.errors[0].toStdString();
    EXPECT_FALSE(state->romOpen());
    expectRomControls(false);

    // A ROM another editor holds open (and locked) is refused too.
    const QString held = makeRomFile("held.smc");
    RomFile other;
    ASSERT_TRUE(other.open(held.toStdString()).ok);
    open(held);
    EXPECT_EQ(prompts.errors.size(), 2);
    EXPECT_FALSE(state->romOpen());
}

TEST_F(RomCommands, ASecondOpenReplacesTheFirstAndShowsItsSpriteZero)
{
    open(makeRomFile("a.smc"));
    window->runCommand(ids::NextSprite);
    window->runCommand(ids::NextSprite);
    EXPECT_EQ(state->currentSprite, 2);
    const QString second = makeRomFile("b.smc");
    open(second);
    EXPECT_EQ(QString::fromStdString(state->document.romFile.path()), second);
    EXPECT_EQ(state->currentSprite, 0);
    EXPECT_EQ(spriteEditText(), "0");
    // The first file is no longer held: another editor may open it.
    RomFile other;
    EXPECT_TRUE(other.open(dir.filePath("a.smc").toStdString()).ok);
}

TEST_F(RomCommands, OpeningTheRomThatIsAlreadyOpenReloadsIt)
{
    // Our own lock on the file must not make it look "in use".
    const QString path = makeRomFile("same.smc");
    open(path);
    window->runCommand(ids::NextSprite);
    open(path);
    EXPECT_TRUE(prompts.errors.isEmpty());
    EXPECT_TRUE(state->romOpen());
    EXPECT_EQ(state->currentSprite, 0);
    expectRomControls(true);
}

TEST_F(RomCommands, CloseRomLocksEverythingAndSelectsNoSprite)
{
    open(makeRomFile("a.smc"));
    window->runCommand(ids::CloseRom);
    EXPECT_FALSE(state->romOpen());
    EXPECT_EQ(state->currentSprite, -1);
    expectRomControls(false);
    for (int id : {57643, 57637}) EXPECT_FALSE(window->action(id)->isEnabled());
    // Save commands cannot be reached.
    window->runCommand(ids::SaveCurrentSprite);
    window->runCommand(ids::SaveSpriteButton);
    EXPECT_TRUE(prompts.errors.isEmpty());
    const QImage img = paintedClient();
    EXPECT_EQ(img.pixel(100, 100), qRgb(127, 127, 127));
    EXPECT_EQ(img.pixel(482, 40), qRgb(0, 0, 0));
}

TEST_F(RomCommands, NavigationClampsAndTheNumberEditGuardsItself)
{
    open(makeRomFile("a.smc"));
    window->runCommand(ids::PreviousSprite);
    EXPECT_EQ(state->currentSprite, 0);
    auto* edit = control<QLineEdit>(1030);
    edit->setText("1500");
    EXPECT_EQ(state->currentSprite, 1143);
    EXPECT_EQ(edit->text(), "1143");
    window->runCommand(ids::NextSprite);
    EXPECT_EQ(state->currentSprite, 1143);
    window->runCommand(ids::PreviousSprite);
    EXPECT_EQ(state->currentSprite, 1142);
    EXPECT_EQ(edit->text(), "1142");
    edit->setText("17");
    EXPECT_EQ(state->currentSprite, 17);
    EXPECT_EQ(edit->text(), "17");
    edit->clear();
    EXPECT_EQ(state->currentSprite, 0);
    EXPECT_EQ(edit->text(), "");
}

TEST_F(RomCommands, TheNumberEditTakesDigitsOnly)
{
    open(makeRomFile("a.smc"));
    auto* edit = control<QLineEdit>(1030);
    edit->clear();
    edit->setFocus();
    QTest::keyClicks(edit, "1a-2");
    EXPECT_EQ(edit->text(), "12");
    EXPECT_EQ(state->currentSprite, 12);
}

TEST_F(RomCommands, SpritesPastTheEndOfAShortFileAreNamedAsNotSaved)
{
    const QString path = dir.filePath("short.smc");
    SyntheticRomOptions cut;
    cut.truncateAt = 0x154000; // the last sprites' tiles are missing
    ASSERT_TRUE(writeSyntheticRom(path.toStdString(), cut));
    open(path);
    ASSERT_TRUE(state->romOpen());
    control<QLineEdit>(1030)->setText("1143");
    state->current().pixels[0] ^= 1;
    markSpriteEdited(state->document, 1143);
    window->runCommand(ids::SaveSpriteButton);
    ASSERT_EQ(prompts.errors.size(), 1);
    EXPECT_TRUE(prompts.errors[0].contains("not saved")) << prompts.errors[0].toStdString();
    EXPECT_TRUE(prompts.errors[0].contains("1143")) << prompts.errors[0].toStdString();
    // The edit is still unsaved, so leaving asks.
    prompts.saveAnswer = SaveChoice::Cancel;
    window->runCommand(ids::CloseRom);
    EXPECT_EQ(prompts.saveQuestions, 1);
}

TEST_F(RomCommands, TheGeneratedRomShowsEachSpriteInItsOwnPalette)
{
    const QString path = dir.filePath("demo.smc");
    ASSERT_TRUE(writeSyntheticRom(path.toStdString()));
    open(path);
    ASSERT_TRUE(state->romOpen());
    for (int sprite : {0, 1, 2}) {
        if (sprite) window->runCommand(ids::NextSprite);
        ASSERT_EQ(state->currentSprite, sprite);
        const SpriteRecord& r = state->document.spriteStore[sprite];
        const QImage img = paintedClient();
        for (int y = 0; y < r.heightPixels(); ++y) {
            for (int x = 0; x < r.widthPixels(); ++x) {
                const int k = expectedPixel(sprite, x, y);
                // Colour 0 shows black; the others 8 * v + 7 per component.
                const ExpectedColour c = expectedRawColour(r.paletteIndex, k);
                const QRgb want = k == 0 ? qRgb(0, 0, 0)
                                         : qRgb(8 * c.red + 7, 8 * c.green + 7, 8 * c.blue + 7);
                ASSERT_EQ(img.pixel(2 + 4 * x + 2, 2 + 4 * y + 1), want) << x << "," << y;
                const int px = 450 + 32 - r.widthPixels() / 2 + x;
                const int py = 40 - r.heightPixels() / 2 + y;
                ASSERT_EQ(img.pixel(px, py), want) << "preview " << x << "," << y;
            }
        }
    }
}

// --- Unsaved edits ---------------------------------------------------------

class UnsavedEdits : public RomCommands {
protected:
    void SetUp() override
    {
        RomCommands::SetUp();
        path = makeRomFile("edit.smc");
        original = fileBytes();
        open(path);
        ASSERT_TRUE(state->romOpen());
    }
    QByteArray fileBytes() const
    {
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll();
    }
    void edit()
    {
        state->current().pixels[0] ^= 5;
        markSpriteEdited(state->document, state->currentSprite);
    }
    void unedit() { state->current().pixels[0] ^= 5; }
    QString path;
    QByteArray original;
};

TEST_F(UnsavedEdits, NothingIsAskedWhileTheSpritesMatchTheFile)
{
    window->runCommand(ids::CloseRom);
    EXPECT_EQ(prompts.saveQuestions, 0);
    EXPECT_FALSE(state->romOpen());
}

TEST_F(UnsavedEdits, AnEditUndoneByHandAsksNothing)
{
    edit();
    unedit();
    open(makeRomFile("b.smc"));
    EXPECT_EQ(prompts.saveQuestions, 0);
}

TEST_F(UnsavedEdits, CancelKeepsTheRomOpenWithItsEdits)
{
    edit();
    prompts.saveAnswer = SaveChoice::Cancel;
    window->runCommand(ids::CloseRom);
    EXPECT_EQ(prompts.saveQuestions, 1);
    EXPECT_TRUE(state->romOpen());
    open(makeRomFile("b.smc"));
    EXPECT_EQ(prompts.saveQuestions, 2);
    EXPECT_EQ(QString::fromStdString(state->document.romFile.path()), path);
    window->runCommand(ids::Exit);
    EXPECT_EQ(prompts.saveQuestions, 3);
    EXPECT_TRUE(window->isVisible());
    window->close(); // the window's close button
    EXPECT_EQ(prompts.saveQuestions, 4);
    EXPECT_TRUE(window->isVisible());
}

TEST_F(UnsavedEdits, DiscardCloses)
{
    edit();
    prompts.saveAnswer = SaveChoice::Discard;
    window->runCommand(ids::CloseRom);
    EXPECT_EQ(prompts.saveQuestions, 1);
    EXPECT_FALSE(state->romOpen());
    EXPECT_EQ(fileBytes(), original); // nothing written
}

TEST_F(UnsavedEdits, SaveWritesEverySpriteThenExits)
{
    edit();
    prompts.saveAnswer = SaveChoice::Save;
    window->runCommand(ids::Exit);
    EXPECT_EQ(prompts.saveQuestions, 1);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(prompts.errors.isEmpty());
    EXPECT_NE(fileBytes(), original);
}

TEST_F(UnsavedEdits, AFailedSaveSaysWhyAndKeepsTheWindowOpen)
{
    FaultIo faults(state->document.romFile.io());
    state->document.romFile.setIo(faults);
    edit();
    faults.failOn(IoOp::Pwrite, 1, ENOSPC, true);
    prompts.saveAnswer = SaveChoice::Save;
    window->runCommand(ids::Exit);
    EXPECT_TRUE(window->isVisible());
    ASSERT_EQ(prompts.errors.size(), 1);
    EXPECT_TRUE(prompts.errors[0].contains(QString::fromStdString(systemReason(ENOSPC))))
        << prompts.errors[0].toStdString();
    // The button's save fails the same way, with its own message.
    window->runCommand(ids::SaveSpriteButton);
    EXPECT_EQ(prompts.errors.size(), 2);
    faults.reset();
    state->document.romFile.setIo(systemFileIo());
}

TEST_F(UnsavedEdits, RefreshDiscardsWithoutAsking)
{
    edit();
    window->runCommand(ids::RefreshSpriteButton);
    EXPECT_EQ(prompts.saveQuestions, 0);
    EXPECT_EQ(state->current().pixels[0] & 15, 0);
    window->runCommand(ids::CloseRom);
    EXPECT_EQ(prompts.saveQuestions, 0);
}

TEST_F(UnsavedEdits, SavingTheSpriteFromTheButtonLeavesNothingToAsk)
{
    edit();
    window->runCommand(ids::SaveSpriteButton);
    EXPECT_TRUE(prompts.errors.isEmpty());
    window->runCommand(ids::CloseRom);
    EXPECT_EQ(prompts.saveQuestions, 0);
}

} // namespace
} // namespace tessel::testing

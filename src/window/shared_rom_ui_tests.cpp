// The window's side of a ROM file that other programs share: what the user
// is told when the file was replaced or changed (on a save and on the
// palette editor's Apply Changes), the Exit question on a short file, and
// names that are not valid text.
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "window/window_test_fixture.h"
#include "dialogs/palette_editor_dialog.h"
#include "model/edit_marks.h"
#include "rom/rom_backup.h"
#include "rom/rom_session.h"
#include "rom/tile_codec.h"
#include "support/scratch_file.h"
#include "support/synthetic_rom.h"

namespace tessel::testing {
namespace {

class SharedRom : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        path = dir.filePath("game.sfc").toStdString();
        ASSERT_TRUE(writeSyntheticRom(path));
        original = readFileBytes(path);
    }
    void edit(int sprite = 0)
    {
        state->document.spriteStore[sprite].pixels[0] ^= 5;
        markSpriteEdited(state->document, sprite);
    }
    std::string path;
    std::vector<std::uint8_t> original;
};

TEST_F(SharedRom, AReplacedFileIsNamedNothingIsWrittenAndClosingStillAsks)
{
    ASSERT_TRUE(window->openRomFile(path));
    edit();
    const std::string theirs = path + ".new";
    ASSERT_TRUE(writeSyntheticRom(theirs, {.title = "OTHER GAME"}));
    const std::vector<std::uint8_t> replacement = readFileBytes(theirs);
    ASSERT_EQ(std::rename(theirs.c_str(), path.c_str()), 0);

    window->runCommand(ids::SaveCurrentSprite); // offers Save a Copy As

    ASSERT_EQ(prompts.questions.size(), 1);
    EXPECT_EQ(prompts.questions[0],
              "The ROM file game.sfc was replaced or deleted by another program after Tessel "
              "opened it. Nothing was saved; your edits are still here.\n\n"
              "Save a copy of the ROM with your edits under another name?");
    EXPECT_EQ(readFileBytes(path), replacement);
    prompts.saveAnswer = SaveChoice::Cancel;
    window->runCommand(ids::CloseRom);
    EXPECT_EQ(prompts.saveQuestions, 1);
    EXPECT_TRUE(state->romOpen());
}

TEST_F(SharedRom, AnOutsideChangeIsWrittenOverOnlyAfterYes)
{
    ASSERT_TRUE(window->openRomFile(path));
    edit();
    const int fd = ::open(path.c_str(), O_WRONLY);
    ASSERT_GE(fd, 0);
    const timespec times[2] = {{0, UTIME_OMIT}, {1234567890, 0}};
    ASSERT_EQ(::futimens(fd, times), 0);
    ::close(fd);

    for (const bool yes : {false, true}) {
        prompts.yesNoAnswer = yes;
        window->runCommand(ids::SaveAllSprites);
        ASSERT_EQ(prompts.questions.size(), yes ? 2 : 1);
        EXPECT_EQ(prompts.questions.back(),
                  "game.sfc was changed on disk by another program since Tessel read it. Write "
                  "your edited sprites into it anyway?");
        EXPECT_EQ(readFileBytes(path) == original, !yes);
    }
    EXPECT_TRUE(prompts.errors.isEmpty());
    EXPECT_FALSE(hasUnsavedEdits(state->document));
}

TEST_F(SharedRom, ApplyChangesIsToldAndAskedWhatASaveIs)
{
    ASSERT_TRUE(window->openRomFile(path));
    PaletteEditorDialog editor(*state, prompts, window.get());
    QTest::mouseClick(editor.findChild<QWidget*>("1084"), Qt::LeftButton); // a colour of palette 0
    auto* red = editor.findChild<QLineEdit*>("1096");
    red->selectAll();
    QTest::keyClicks(red, red->text() == "1" ? "2" : "1");
    editor.findChild<QPushButton*>("1100")->click(); // << Add Color
    auto* apply = editor.findChild<QPushButton*>("1079");

    const int fd = ::open(path.c_str(), O_WRONLY);
    ASSERT_GE(fd, 0);
    const timespec times[2] = {{0, UTIME_OMIT}, {1234567890, 0}};
    ASSERT_EQ(::futimens(fd, times), 0);
    ::close(fd);
    prompts.yesNoAnswer = false;
    apply->click();
    ASSERT_EQ(prompts.questions.size(), 1);
    EXPECT_EQ(prompts.questions[0], "game.sfc was changed on disk by another program since Tessel read it. Write "
                                    "your edited sprites into it anyway?");
    EXPECT_EQ(readFileBytes(path), original);
    EXPECT_TRUE(prompts.errors.isEmpty()) << "the user's own No needs no message";

    const std::string theirs = path + ".new";
    ASSERT_TRUE(writeSyntheticRom(theirs, {.title = "OTHER GAME"}));
    ASSERT_EQ(std::rename(theirs.c_str(), path.c_str()), 0);
    apply->click();
    ASSERT_EQ(prompts.errors.size(), 1);
    EXPECT_EQ(prompts.errors[0],
              "The ROM file game.sfc was replaced or deleted by another program after Tessel "
              "opened it. Nothing was saved; your edits are still here.");
    EXPECT_TRUE(editor.hasUnappliedChanges());
}

TEST_F(SharedRom, AWriteProtectedRomOpensReadOnlyWithTheWritersGrayed)
{
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    prompts.yesNoAnswer = false;
    EXPECT_FALSE(window->openRomFile(path));
    ASSERT_EQ(prompts.questions.size(), 1);
    EXPECT_NE(prompts.questions[0].indexOf("Open read-only?"), -1) << prompts.questions[0].toStdString();

    prompts.yesNoAnswer = true;
    ASSERT_TRUE(window->openRomFile(path));
    EXPECT_EQ(window->windowTitle(), "game.sfc (read-only) \u2014 Tessel 2.6");
    const CommandStates& commands = state->window.commands;
    EXPECT_FALSE(commands.isEnabled(ids::SaveCurrentSprite));
    EXPECT_FALSE(commands.isEnabled(ids::SaveAllSprites));
    EXPECT_FALSE(window->control(ids::SaveSpriteButton)->isEnabled());
    EXPECT_TRUE(commands.isEnabled(ids::SaveCopyAs));
    {
        PaletteEditorDialog editor(*state, prompts, window.get());
        EXPECT_FALSE(editor.findChild<QPushButton*>("1079")->isEnabled());
    }
    const int other = ::open(path.c_str(), O_RDONLY);
    EXPECT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0) << "no lock is taken";
    ::close(other);

    // Edits stay in memory; the shortcut does nothing; the copy takes them.
    edit(3);
    window->runCommand(ids::SaveAllSprites);
    EXPECT_EQ(readFileBytes(path), original);
    prompts.nextPath = dir.filePath("edited.sfc");
    window->runCommand(ids::SaveCopyAs);
    std::vector<std::uint8_t> copy = original;
    encodeSprite(state->document.spriteStore[3], copy.data() + state->document.spriteStore[3].romOffset);
    EXPECT_EQ(readFileBytes(prompts.nextPath.toStdString()), copy);
    EXPECT_TRUE(backupsOf(backupDirectory(), backupName(path)).empty()) << "no backup";
    ::chmod(path.c_str(), 0644);
}

TEST_F(SharedRom, SaveInTheExitQuestionClosesWhenEveryEditIsInsideAShortFile)
{
    ASSERT_TRUE(writeSyntheticRom(path, {.truncateAt = 0x154000}));
    ASSERT_TRUE(window->openRomFile(path));
    edit(5); // inside the file; sprites past its end are untouched
    prompts.saveAnswer = SaveChoice::Save;
    window->runCommand(ids::Exit);
    EXPECT_EQ(prompts.saveQuestions, 1);
    EXPECT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join("|").toStdString();
    EXPECT_FALSE(window->isVisible());
}

TEST_F(SharedRom, ANameThatIsNotValidTextOpensAndSaves)
{
    const std::string odd = dir.filePath("rom-").toStdString() + "\xff\xfe.smc";
    ASSERT_EQ(std::rename(path.c_str(), odd.c_str()), 0);
    // From the command line as bytes, and from the file dialog as the text
    // the dialog shows for it.
    for (const bool fromDialog : {false, true}) {
        const bool opened = fromDialog
                                ? window->openRomAt(QFile::decodeName(QByteArray::fromStdString(odd)))
                                : window->openRomFile(odd);
        ASSERT_TRUE(opened) << prompts.errors.join("|").toStdString();
        edit();
        window->runCommand(ids::SaveCurrentSprite);
        EXPECT_TRUE(prompts.errors.isEmpty());
        EXPECT_NE(readFileBytes(odd), original);
        original = readFileBytes(odd);
    }
    window->runCommand(ids::CloseRom);
    ::unlink(odd.c_str()); // QTemporaryDir cannot name it to remove it
}

} // namespace
} // namespace tessel::testing

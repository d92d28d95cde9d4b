// The recovery file and the backups through the window: unsaved edits are
// kept on the disk while they last, offered back when the ROM is opened
// again (Restore makes them unsaved edits, Discard drops them), and the
// first save of a window's life copies the ROM first.
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <sys/stat.h>

#include "window/recovery_keeper.h"
#include "window/window_test_fixture.h"
#include "dialogs/palette_editor_dialog.h"
#include "editor/sprite_selection.h"
#include "file/state_files.h"
#include "model/command_ids.h"
#include "model/edit_marks.h"
#include "rom/recovery_file.h"
#include "rom/sprite_catalogue.h"
#include "support/scratch_file.h"
#include "support/synthetic_rom.h"

namespace tessel::testing {
namespace {

namespace fs = std::filesystem;

class RecoveryTest : public WindowTest {
protected:
    void SetUp() override
    {
        savedState_ = qgetenv("XDG_STATE_HOME");
        qputenv("XDG_STATE_HOME", QFile::encodeName(dir.filePath("state")));
        original = buildSyntheticRom();
        rom.write(original);
        WindowTest::SetUp();
    }
    void TearDown() override
    {
        WindowTest::TearDown();
        qputenv("XDG_STATE_HOME", savedState_);
    }

    // A new run of the program: a new window on a new state.
    void restart()
    {
        window.reset();
        state = std::make_unique<EditorState>();
        window = std::make_unique<MainWindow>(*state, prompts);
    }
    bool openRom() { return window->openRomAt(QString::fromStdString(rom.path())); }
    // An edit of one pixel, as a tool leaves it: changed and marked.
    void edit(int sprite, std::uint8_t index)
    {
        state->document.spriteStore[sprite].pixels[0] = index;
        markSpriteEdited(state->document, sprite);
    }
    std::string recoveryFile() { return window->recovery().directory() + "/" + window->recovery().currentFile(); }
    std::vector<std::string> backups() const
    {
        std::vector<std::string> files;
        std::error_code ignored;
        for (const auto& e : fs::directory_iterator(dir.filePath("state/tessel/backups").toStdString(), ignored))
            files.push_back(e.path());
        return files;
    }

    ScratchFile rom;
    std::vector<std::uint8_t> original;

private:
    QByteArray savedState_;
};

TEST_F(RecoveryTest, TheFileFollowsTheUnsavedEdits)
{
    ASSERT_TRUE(openRom());
    window->recovery().updateAndWait();
    EXPECT_FALSE(fs::exists(recoveryFile())) << "nothing edited, nothing kept";
    edit(3, 9);
    edit(700, 4);
    window->recovery().updateAndWait();
    const auto read = readRecoveryFile(window->recovery().directory(), window->recovery().currentFile());
    const std::string& why = read.error;
    const auto& kept = read.value;
    ASSERT_TRUE(kept) << why;
    ASSERT_EQ(kept->sprites.size(), 2u);
    EXPECT_EQ(kept->sprites[1].sprite, 700);
    EXPECT_EQ(kept->sprites[1].pixels, state->document.spriteStore[700].pixels);
    EXPECT_EQ(kept->info.romPath, canonicalRomPath(rom.path()));

    // Close ROM without saving (Discard) leaves nothing unsaved to keep.
    prompts.saveAnswer = SaveChoice::Discard;
    window->runCommand(ids::CloseRom);
    window->recovery().updateAndWait();
    EXPECT_TRUE(fs::is_empty(window->recovery().directory()));
}

TEST_F(RecoveryTest, ASpriteLeftWhileItsBlockMovedIsKeptAsItWasLeft)
{
    // Only a marked edit changes a sprite that is not the current one, so
    // the keeper copies again the current sprite, the one that was current
    // at the last file, and those whose mark moved: a floating block moves
    // without a new mark and is put down when another sprite is chosen.
    ASSERT_TRUE(openRom());
    edit(0, 9);
    window->recovery().updateAndWait();
    state->document.spriteStore[0].pixels[1] = 7; // the block moved on, no new mark
    selectSprite(*state, 1);
    edit(5, 3);
    window->recovery().updateAndWait();
    const auto read = readRecoveryFile(window->recovery().directory(), window->recovery().currentFile());
    const std::string& why = read.error;
    const auto& kept = read.value;
    ASSERT_TRUE(kept) << why;
    ASSERT_EQ(kept->sprites.size(), 2u);
    EXPECT_EQ(kept->sprites[0].sprite, 0);
    EXPECT_EQ(kept->sprites[0].pixels, state->document.spriteStore[0].pixels);
}

TEST_F(RecoveryTest, DiscardOnLeavingDropsTheFile)
{
    ASSERT_TRUE(openRom());
    edit(3, 9);
    window->recovery().updateAndWait();
    const std::string kept = recoveryFile();
    ASSERT_TRUE(fs::exists(kept));
    prompts.saveAnswer = SaveChoice::Discard;
    window->close();
    window.reset();
    EXPECT_FALSE(fs::exists(kept));
    EXPECT_EQ(rom.read(), original);
}

// A window that goes away without its question, as a crash or a kill
// would leave things, keeps the file; the next open of the ROM offers it.
TEST_F(RecoveryTest, OpeningTheRomAgainOffersTheEdits)
{
    const struct {
        const char* what;
        RecoveryChoice answer;
        bool changeSpriteArea;
    } cases[] = {
        {"Restore", RecoveryChoice::Restore, false},
        {"Discard", RecoveryChoice::Discard, false},
        {"Restore after another program changed a sprite", RecoveryChoice::Restore, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        rom.write(original);
        restart();
        ASSERT_TRUE(openRom());
        edit(3, 9);
        edit(1143, 2);
        const PixelBuffer edited3 = state->document.spriteStore[3].pixels;
        restart(); // the old window writes the file on its way out
        std::vector<std::uint8_t> before = original;
        if (c.changeSpriteArea) before[kSpriteAreaBegin + 5] ^= 0xFF; // sprite 0
        rom.write(before);
        prompts.restoreQuestions.clear();
        prompts.restoreAnswer = c.answer;

        ASSERT_TRUE(openRom());
        ASSERT_EQ(prompts.restoreQuestions.size(), 1);
        const QString& question = prompts.restoreQuestions[0];
        EXPECT_TRUE(question.startsWith("Tessel found unsaved edits to 2 sprites of " +
                                        QFile::decodeName(baseName(rom.path()).c_str()) + "\nfrom "))
            << question.toStdString();
        EXPECT_EQ(question.contains("changed since"), c.changeSpriteArea) << question.toStdString();
        const bool restored = c.answer == RecoveryChoice::Restore;
        EXPECT_EQ(state->document.spriteStore[3].pixels == edited3, restored);
        EXPECT_EQ(editedSpriteCount(state->document), restored ? 2 : 0);
        EXPECT_TRUE(isSpriteEdited(state->document, 1143) == restored);
        EXPECT_EQ(rom.read(), before) << "restoring is no save";
        window->recovery().updateAndWait();
        EXPECT_EQ(fs::exists(recoveryFile()), restored);
    }
}

// Recover Edits lists the files of ROMs not open; one whose ROM is gone
// goes into the ROM the user names, and takes the new ROM's own file.
TEST_F(RecoveryTest, RecoverEditsRestoresIntoTheRomTheUserNames)
{
    ASSERT_TRUE(openRom());
    edit(3, 9);
    edit(700, 4);
    const PixelBuffer edited700 = state->document.spriteStore[700].pixels;
    const std::string oldFile = recoveryFile(), oldPath = canonicalRomPath(rom.path());
    restart();
    fs::remove(rom.path());
    ScratchFile other;
    original[kSpriteAreaBegin + 5] ^= 0xFF; // not the same sprites: only the user says it is this ROM's
    other.write(original);

    prompts.recoveryRowAnswer = 0;
    prompts.nextPath = QString::fromStdString(other.path());
    window->runCommand(ids::RecoverEdits);
    ASSERT_EQ(prompts.recoveryRowsShown.size(), 1);
    const QStringList row = prompts.recoveryRowsShown[0];
    EXPECT_EQ(row[0] + "|" + row[1] + "|" + row[3], QString::fromStdString(baseName(oldPath) + "|" + oldPath + "|2"));
    EXPECT_EQ(prompts.informations.size(), 1) << "the ROM is gone: the user is told before the file dialog";
    ASSERT_EQ(state->document.romFile.path(), other.path());
    ASSERT_EQ(prompts.restoreQuestions.size(), 1);
    EXPECT_TRUE(prompts.restoreQuestions[0].contains(QString::fromStdString(oldPath)));
    EXPECT_EQ(state->document.spriteStore[700].pixels, edited700);
    EXPECT_EQ(editedSpriteCount(state->document), 2);

    window->recovery().updateAndWait();
    EXPECT_TRUE(!fs::exists(oldFile) && fs::exists(recoveryFile()));
    prompts.recoveryRowsShown.clear();
    window->runCommand(ids::RecoverEdits);
    EXPECT_TRUE(prompts.recoveryRowsShown.empty()) << "the open ROM's own file is not listed";
    EXPECT_EQ(prompts.informations.size(), 2);
}

TEST_F(RecoveryTest, TheChecksumFollowsSaves)
{
    ASSERT_TRUE(openRom());
    edit(3, 9);
    window->runCommand(ids::SaveAllSprites);
    ASSERT_NE(rom.read(), original);
    ASSERT_FALSE(isSpriteEdited(state->document, 3)) << "a save that reached the disk clears the mark";
    edit(5, 9);
    restart();
    ASSERT_TRUE(openRom());
    ASSERT_EQ(prompts.restoreQuestions.size(), 1);
    EXPECT_FALSE(prompts.restoreQuestions[0].contains("changed since")) << "the saved sprite is no change";
    EXPECT_TRUE(prompts.restoreQuestions[0].contains("1 sprite of"));
}

TEST_F(RecoveryTest, ADamagedFileIsSetAsideAndSaidSo)
{
    ASSERT_TRUE(openRom());
    edit(3, 9);
    const std::string kept = recoveryFile();
    restart();
    fs::resize_file(kept, fs::file_size(kept) - 1);
    ASSERT_TRUE(openRom());
    EXPECT_TRUE(prompts.restoreQuestions.isEmpty());
    ASSERT_EQ(prompts.errors.size(), 1);
    EXPECT_TRUE(prompts.errors[0].contains("but cannot use it: its checksum does not match"))
        << prompts.errors[0].toStdString();
    EXPECT_TRUE(fs::exists(kept + ".damaged"));
    EXPECT_FALSE(fs::exists(kept));
}

TEST_F(RecoveryTest, AFolderThatCannotBeWrittenIsToldOnce)
{
    QFile blocker(dir.filePath("state"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
    blocker.close();
    ASSERT_TRUE(openRom());
    for (int i = 0; i < 2; ++i) {
        edit(3, static_cast<std::uint8_t>(9 + i));
        window->recovery().updateAndWait();
        QTest::qWait(250); // a tick of the keeper's timer reports it
    }
    ASSERT_EQ(prompts.errors.size(), 1) << prompts.errors.join("|").toStdString();
    EXPECT_TRUE(prompts.errors[0].startsWith("Tessel cannot keep a recovery file")) << prompts.errors[0].toStdString();
}

// A pipe where the recovery file belongs does not hold up Open ROM; a state
// folder others may write is told once and used for nothing, not even
// through a link planted at the name a temporary file once had.
TEST_F(RecoveryTest, APipeIsNoRecoveryFileAndASharedFolderIsNotUsed)
{
    const std::string folder = recoveryDirectory();
    ASSERT_TRUE(makeDirectories(folder).ok);
    const std::string name = recoveryFileName(canonicalRomPath(rom.path()));
    ASSERT_EQ(::mkfifo((folder + "/" + name).c_str(), 0600), 0);
    ASSERT_TRUE(openRom());
    ASSERT_EQ(prompts.errors.size(), 1);
    EXPECT_TRUE(prompts.errors[0].contains(QString::fromStdString(name + " is not a regular file.")))
        << prompts.errors[0].toStdString();

    ASSERT_EQ(::chmod(fs::path(folder).parent_path().c_str(), 0777), 0);
    ScratchFile victim;
    fs::create_symlink(victim.path(), folder + "/" + name + ".tmp");
    for (int i = 0; i < 2; ++i) {
        edit(3, static_cast<std::uint8_t>(9 + i));
        window->recovery().updateAndWait();
        EXPECT_TRUE(QTest::qWaitFor([&] { return prompts.errors.size() > 1; }, 5000));
    }
    ASSERT_EQ(prompts.errors.size(), 2) << prompts.errors.join("|").toStdString();
    EXPECT_TRUE(prompts.errors[1].contains("is shared with other users")) << prompts.errors[1].toStdString();
    EXPECT_TRUE(victim.read().empty());
    window->runCommand(ids::SaveAllSprites);
    ASSERT_EQ(prompts.questions.size(), 1);
    EXPECT_TRUE(prompts.questions[0].contains("is shared with other users")) << prompts.questions[0].toStdString();
}

TEST_F(RecoveryTest, TheFirstSaveOfAWindowsLifeBacksUpTheRom)
{
    ASSERT_TRUE(openRom());
    // A save that has nothing to write writes nothing, and needs no backup.
    window->runCommand(ids::SaveAllSprites);
    window->runCommand(ids::SaveCurrentSprite);
    EXPECT_TRUE(backups().empty());
    edit(0, 3);
    window->runCommand(ids::SaveCurrentSprite);
    edit(0, 5);
    window->runCommand(ids::SaveAllSprites);
    ASSERT_EQ(backups().size(), 1u);
    EXPECT_EQ(readFileBytes(backups()[0]), original);
    EXPECT_TRUE(prompts.questions.isEmpty());
}

TEST_F(RecoveryTest, WithoutABackupTheUserDecides)
{
    for (const bool saveAnyway : {false, true}) {
        restart();
        rom.write(original);
        QFile blocker(dir.filePath("state"));
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
        blocker.close();
        ASSERT_TRUE(openRom());
        prompts.questions.clear();
        prompts.yesNoAnswer = saveAnyway;
        edit(0, 3);
        window->runCommand(ids::SaveCurrentSprite);
        ASSERT_EQ(prompts.questions.size(), 1);
        EXPECT_TRUE(prompts.questions[0].contains(" could not be backed up: ")) << prompts.questions[0].toStdString();
        EXPECT_TRUE(prompts.questions[0].endsWith("Save anyway?"));
        EXPECT_EQ(rom.read() != original, saveAnyway);
    }
}

TEST_F(RecoveryTest, ApplyChangesAsksBeforeItWrites)
{
    ASSERT_TRUE(openRom());
    PaletteEditorDialog editor(*state, prompts, window.get());
    int asked = 0;
    bool allowed = false;
    editor.setBeforeWrite([&] {
        ++asked;
        EXPECT_EQ(rom.read(), original) << "asked after writing";
        return allowed;
    });
    // Colour 4 of palette 3 becomes raw (1, 1, 1).
    editor.findChild<QComboBox*>("1078")->setCurrentIndex(3);
    QTest::mouseClick(editor.findChild<QWidget*>("1084"), Qt::LeftButton);
    for (int i = 0; i < 3; ++i) {
        auto* field = editor.findChild<QLineEdit*>(QString::number(1096 + i));
        field->selectAll();
        QTest::keyClicks(field, "1");
    }
    editor.findChild<QPushButton*>("1100")->click(); // << Add Color
    editor.findChild<QPushButton*>("1079")->click(); // Apply Changes
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(rom.read(), original) << "written although refused";
    allowed = true;
    editor.findChild<QPushButton*>("1079")->click();
    EXPECT_EQ(asked, 2);
    EXPECT_NE(rom.read(), original);
}

} // namespace
} // namespace tessel::testing

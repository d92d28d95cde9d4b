// Art in and out through the window's menus and the palette editor, with
// scripted file dialogs: imports are edits in memory, exports leave the ROM.
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <sys/stat.h>
#include <unistd.h>

#include "window/window_test_fixture.h"
#include "dialogs/palette_editor_dialog.h"
#include "interchange/indexed_sheet.h"
#include "interchange/png_image.h"
#include "model/command_ids.h"
#include "model/edit_marks.h"
#include "rom/palette_codec.h"
#include "rom/rom_backup.h"
#include "window/status_line.h"
#include "support/scratch_file.h"
#include "support/synthetic_rom.h"

namespace tessel::testing {
namespace {

constexpr int kArtCommands[] = {ids::ExportSpritePng, ids::ImportSpritePng, ids::ExportSheet, ids::ImportSheet,
                                ids::CreatePatch,     ids::CopyAsImage,     ids::PasteImage};

class ArtCommands : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        rom = dir.filePath("game.smc").toStdString();
        ASSERT_TRUE(writeSyntheticRom(rom));
        original = readFileBytes(rom);
    }
    void openRom()
    {
        prompts.nextPath = QString::fromStdString(rom);
        window->runCommand(ids::OpenRom);
        ASSERT_TRUE(state->romOpen());
    }
    void run(int id, const QString& path)
    {
        prompts.nextPath = path;
        window->runCommand(id);
    }
    std::string rom;
    std::vector<std::uint8_t> original;
};

TEST_F(ArtCommands, GrayedWithoutARom)
{
    for (int id : kArtCommands) EXPECT_FALSE(window->action(id)->isEnabled()) << id;
    openRom();
    for (int id : kArtCommands) EXPECT_TRUE(window->action(id)->isEnabled()) << id;
    window->runCommand(ids::CloseRom);
    for (int id : kArtCommands) EXPECT_FALSE(window->action(id)->isEnabled()) << id;
}

TEST_F(ArtCommands, ImportSpriteIsOneUndoableEditAndWritesNothing)
{
    openRom();
    const PixelBuffer before = state->current().pixels;
    run(ids::ExportSpritePng, dir.filePath("sprite")); // ".png" added
    ASSERT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join("\n").toStdString();

    auto picture = decodePng(readFileBytes(dir.filePath("sprite.png").toStdString()), {64, 80}).value;
    picture.indices[0] = picture.indices[0] == 3 ? 4 : 3;
    ScratchFile edited;
    edited.write(encodeIndexedPng(picture.width, picture.height, picture.indices, picture.palette).value);

    run(ids::ImportSpritePng, QString::fromStdString(edited.path()));
    ASSERT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join("\n").toStdString();
    EXPECT_EQ(state->current().pixels[0], picture.indices[0]);
    EXPECT_TRUE(isSpriteEdited(state->document, 0));
    EXPECT_EQ(state->undo.top, 0);
    EXPECT_EQ(readFileBytes(rom), original);

    window->runCommand(ids::Undo);
    EXPECT_EQ(state->current().pixels, before);

    // A picture of another size is refused and changes nothing.
    ScratchFile small;
    small.write(encodeIndexedPng(2, 2, std::vector<std::uint8_t>(4, 1), picture.palette).value);
    run(ids::ImportSpritePng, QString::fromStdString(small.path()));
    EXPECT_EQ(prompts.errors.size(), 1);
    EXPECT_EQ(state->current().pixels, before);

    // No export may take the open ROM's place.
    run(ids::ExportSheet, QString::fromStdString(rom));
    EXPECT_EQ(prompts.errors.size(), 2);
    EXPECT_EQ(readFileBytes(rom), original);
}

// A pipe chosen as the picture or sheet to import is refused at once, as on
// the command line.
TEST_F(ArtCommands, APipeToImportIsRefusedUnread)
{
    openRom();
    const QString pipe = dir.filePath("pipe.png");
    ASSERT_EQ(::mkfifo(pipe.toLocal8Bit().constData(), 0600), 0);
    for (int id : {ids::ImportSpritePng, ids::ImportSheet}) {
        prompts.errors.clear();
        run(id, pipe);
        ASSERT_EQ(prompts.errors.size(), 1) << id;
        EXPECT_TRUE(prompts.errors[0].contains("pipe.png is not a regular file.")) << prompts.errors[0].toStdString();
    }
    EXPECT_EQ(editedSpriteCount(state->document), 0);
}

TEST_F(ArtCommands, SheetRoundTripChangesNoSprite)
{
    openRom();
    run(ids::ExportSheet, dir.filePath("sheet.png"));
    run(ids::ImportSheet, dir.filePath("sheet.png"));
    ASSERT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join("\n").toStdString();
    EXPECT_EQ(editedSpriteCount(state->document), 0);
    EXPECT_EQ(prompts.informations.size(), 1);
}

TEST_F(ArtCommands, CopyAsImageThenPasteImageFloatsTheSameBlock)
{
    openRom();
    const PixelBuffer sprite = state->current().pixels;
    window->runCommand(ids::CopyAsImage);
    ASSERT_TRUE(QGuiApplication::clipboard()->mimeData()->hasFormat("image/png"));
    window->runCommand(ids::PasteImage);
    ASSERT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join("\n").toStdString();
    EXPECT_TRUE(state->selection.selectionFloating);
    EXPECT_EQ(state->selection.selectionRect.left, 0);
    EXPECT_EQ(state->selection.selectionRect.width(), state->current().widthPixels());
    EXPECT_EQ(state->undo.top, 0);
    const int w = state->current().widthPixels();
    for (int y = 0; y < state->current().heightPixels(); ++y)
        for (int x = 0; x < w; ++x) ASSERT_EQ(state->selection.floatingPixels[y * 64 + x], sprite[y * 64 + x]) << x << "," << y;
}

TEST_F(ArtCommands, PaletteFileLandsInTheWorkingCopyOnly)
{
    openRom();
    PaletteEditorDialog editor(*state, prompts);
    auto* exportButton = editor.findChild<QPushButton*>("paletteExport");
    auto* importButton = editor.findChild<QPushButton*>("paletteImport");
    ASSERT_TRUE(exportButton && importButton);
    const RawPalette shown = editor.workingCopy();

    prompts.nextPath = dir.filePath("p.bin");
    exportButton->click();
    auto bytes = readFileBytes(dir.filePath("p.bin").toStdString());
    ASSERT_EQ(bytes.size(), 32u);
    bytes[2] ^= 0x1F; // colour 1's red
    QFile changed(dir.filePath("changed.bin"));
    ASSERT_TRUE(changed.open(QIODevice::WriteOnly));
    changed.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
    changed.close();

    prompts.nextPath = changed.fileName();
    importButton->click();
    ASSERT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join("\n").toStdString();
    EXPECT_NE(editor.workingCopy().red[1], shown.red[1]);
    EXPECT_EQ(editor.workingCopy().green, shown.green);
    EXPECT_EQ(readFileBytes(rom), original);
}

TEST_F(ArtCommands, CreatePatchOffersTheBackupMadeBeforeTheFirstWrite)
{
    openRom();
    state->current().pixels[0] ^= 5;
    markSpriteEdited(state->document, state->currentSprite);
    window->runCommand(ids::SaveCurrentSprite);
    ASSERT_TRUE(prompts.errors.isEmpty());
    prompts.yesNoAnswer = true;
    run(ids::CreatePatch, dir.filePath("work.ips"));
    ASSERT_FALSE(prompts.questions.isEmpty());
    ASSERT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join("\n").toStdString();
    EXPECT_TRUE(prompts.questions.back().startsWith("Make the patch from the backup")) << prompts.questions.back().toStdString();
    // An IPS patch of one tile: "PATCH", one record (3-byte offset, 2-byte
    // size, its bytes), "EOF"; the backup was the file before the save.
    const auto patch = readFileBytes(dir.filePath("work.ips").toStdString());
    ASSERT_GE(patch.size(), 5u + 5u + 3u);
    EXPECT_EQ(std::string(patch.begin(), patch.begin() + 5), "PATCH");
    EXPECT_EQ(std::string(patch.end() - 3, patch.end()), "EOF");
}

// A folder whose name is not valid text comes back from the dialogs as
// the text they show for it; exports and imports find it all the same.
TEST_F(ArtCommands, ExportsAndImportsFindAFolderNamedInBytes)
{
    openRom();
    const std::string folder = dir.filePath("art-").toStdString() + "\xff\xfe";
    ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
    const QString shown = QFile::decodeName(QByteArray::fromStdString(folder));
    run(ids::ExportSpritePng, shown + "/sprite");
    PaletteEditorDialog editor(*state, prompts);
    prompts.nextPath = shown + "/colours";
    editor.findChild<QPushButton*>("paletteExport")->click();
    prompts.nextPath = shown + "/colours.gpl";
    editor.findChild<QPushButton*>("paletteImport")->click();
    run(ids::ImportSpritePng, shown + "/sprite.png");
    EXPECT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join("\n").toStdString();
    for (const char* name : {"/sprite.png", "/colours.gpl"}) EXPECT_EQ(::unlink((folder + name).c_str()), 0) << name;
    ::rmdir(folder.c_str()); // QTemporaryDir cannot name it to remove it
}

// Each dialog starts in the ROM's folder with a name made from the ROM's,
// then in the folder used last for its kind; the filter chosen gives a name
// typed without an extension its own; the status bar says what was written.
TEST_F(ArtCommands, DialogsStartBesideTheRomAndTheChosenFilterNamesTheFile)
{
    openRom();
    ASSERT_TRUE(QDir(dir.path()).mkpath("art"));
    state->currentSprite = 18;
    run(ids::ExportSpritePng, dir.filePath("art/hero"));
    run(ids::ExportSpritePng, dir.filePath("art/hero2.png"));
    PaletteEditorDialog editor(*state, prompts, window.get());
    prompts.nextFilter = "JASC palettes (*.pal)";
    prompts.nextPath = dir.filePath("mypal");
    editor.findChild<QPushButton*>("paletteExport")->click();
    const QString paletteStatus = window->statusLine()->shownText();
    prompts.yesNoAnswer = false; // no backup yet: straight to the chooser
    prompts.nextFilter = "IPS patches (*.ips)";
    prompts.nextPaths = {QString::fromStdString(rom), dir.filePath("mypatch")};
    window->runCommand(ids::CreatePatch);
    ASSERT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join("\n").toStdString();

    for (const char* name : {"art/hero.png", "art/hero2.png", "mypal.pal", "mypatch.ips"})
        EXPECT_TRUE(QFileInfo(dir.filePath(name)).isFile()) << name;
    const int p = state->current().paletteIndex;
    ASSERT_EQ(prompts.fileStarts.size(), 5);
    EXPECT_EQ(prompts.fileStarts[0], dir.filePath("game-sprite-0018.png"));
    EXPECT_EQ(prompts.fileStarts[1], dir.filePath("art/game-sprite-0018.png"));
    EXPECT_EQ(prompts.fileStarts[2], dir.filePath(QStringLiteral("game-palette-%1.gpl").arg(p, 2, 10, QLatin1Char('0'))));
    EXPECT_EQ(prompts.fileStarts[3], dir.path()); // the clean ROM
    EXPECT_EQ(prompts.fileStarts[4], dir.filePath("game.bps"));
    EXPECT_EQ(paletteStatus, QStringLiteral("Palette %1 written to mypal.pal").arg(p));
    EXPECT_EQ(window->statusLine()->shownText(),
              "Patch written to mypatch.ips, from game.smc, without the copier header so that it fits the dump");
}

// Create Patch asks first for the clean ROM chosen last time for this ROM,
// else offers the oldest and the newest backup, each named by its date.
TEST_F(ArtCommands, CreatePatchRemembersTheCleanRomAndDatesTheBackups)
{
    const QByteArray savedState = qgetenv("XDG_STATE_HOME");
    qputenv("XDG_STATE_HOME", dir.filePath("state").toLocal8Bit());
    ASSERT_TRUE(QDir(dir.path()).mkpath("state/tessel/backups"));
    const QString name = QString::fromStdString(backupName(rom));
    for (const char* stamp : {".20261208-224100.bak", ".20261209-010203-2.bak"})
        ASSERT_TRUE(QFile::copy(QString::fromStdString(rom),
                                dir.filePath(QStringLiteral("state/tessel/backups/") + name + QLatin1String(stamp))));
    ::chmod(dir.filePath("state").toLocal8Bit().constData(), 0700);
    openRom();
    prompts.yesNoAnswer = false;
    prompts.nextPaths = {QString::fromStdString(rom), dir.filePath("first.bps")};
    window->runCommand(ids::CreatePatch);
    ASSERT_EQ(prompts.questions.size(), 2);
    EXPECT_TRUE(prompts.questions[0].startsWith("Make the patch from the backup of game.smc from 8 Dec, 22:41, made "
                                                "before this ROM was first written that day? It is the oldest kept."))
        << prompts.questions[0].toStdString();
    EXPECT_TRUE(prompts.questions[1].contains("from 9 Dec, 01:02,")) << prompts.questions[1].toStdString();
    prompts.questions.clear();
    prompts.yesNoAnswer = true;
    prompts.nextPaths = {dir.filePath("second.bps")};
    window->runCommand(ids::CreatePatch);
    ASSERT_EQ(prompts.questions.size(), 1);
    EXPECT_TRUE(prompts.questions[0].startsWith("Make the patch from the clean ROM chosen last time?"));
    EXPECT_TRUE(QFileInfo(dir.filePath("second.bps")).isFile());
    qputenv("XDG_STATE_HOME", savedState);
}

// A CGRAM dump: the user picks one of its 16 palettes; the colours are
// unapplied changes, as the caption shows.
TEST_F(ArtCommands, PaletteImportTakesTheChosenPaletteOfADumpAsUnappliedChanges)
{
    openRom();
    QByteArray dump(512, 0);
    dump[9 * 32 + 2] = 0x1F; // palette 9, colour 1: red 31, green and blue 0
    QFile file(dir.filePath("cgram.bin"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(dump);
    file.close();
    PaletteEditorDialog editor(*state, prompts);
    QSignalSpy unapplied(&editor, &PaletteEditorDialog::unappliedChangesChanged);
    prompts.paletteNumberAnswers = {9};
    prompts.nextPath = file.fileName();
    editor.findChild<QPushButton*>("paletteImport")->click();
    ASSERT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join("\n").toStdString();
    EXPECT_EQ((RawColour{editor.workingCopy().red[1], editor.workingCopy().green[1], editor.workingCopy().blue[1]}),
              (RawColour{31, 0, 0}));
    ASSERT_FALSE(unapplied.isEmpty());
    EXPECT_TRUE(unapplied.last().at(0).toBool());
    EXPECT_EQ(readFileBytes(rom), original);
}


// An indexed sheet is no whole-ROM sheet: Import Sheet can take it only
// through the cell map beside it, as the command line does.
TEST_F(ArtCommands, ImportSheetReadsAnIndexedSheetThroughItsCellMap)
{
    openRom();
    const int p = state->current().paletteIndex;
    const auto sheet = exportIndexedSheet(state->document, p);
    ASSERT_TRUE(sheet.ok) << sheet.error;
    auto picture = decodePng(sheet.value.png, {4096, 8192}).value;
    picture.indices[0] = picture.indices[0] == 3 ? 4 : 3; // sprite 0's top-left pixel
    const auto write = [this](const char* name, const QByteArray& bytes) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    };
    const auto png = encodeIndexedPng(picture.width, picture.height, picture.indices, picture.palette).value;
    write("indexed.png", QByteArray(reinterpret_cast<const char*>(png.data()), qsizetype(png.size())));
    write("indexed.json", QByteArray::fromStdString(sheet.value.cellMap));
    run(ids::ImportSheet, dir.filePath("indexed.png"));
    ASSERT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join("\n").toStdString();
    EXPECT_TRUE(state->document.spriteEdited[0]);
    EXPECT_EQ(state->current().pixels[0], picture.indices[0]);
}

} // namespace
} // namespace tessel::testing

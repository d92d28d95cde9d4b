// The recent ROMs kept between runs, File > Open Recent, and ROM files
// dropped on the window.
#include <QAction>
#include <QDropEvent>
#include <QMimeData>
#include <QSettings>
#include <QUrl>
#include <sys/stat.h>

#include "window/recent_roms.h"
#include "window/rom_drop.h"
#include "window/window_test_fixture.h"
#include "model/command_ids.h"
#include "model/edit_marks.h"
#include "support/synthetic_rom.h"

namespace tessel::testing {
namespace {

// --- The settings file -----------------------------------------------------

struct StoredFile {
    const char* what;
    const char* contents; // nullptr: no file; "/": a folder in its place; "|": a pipe
    QStringList expected;
};

QStringList tenPaths()
{
    QStringList paths;
    for (int i = 0; i < 10; ++i) paths << QStringLiteral("/roms/%1.smc").arg(i);
    return paths;
}

const StoredFile kStoredFiles[] = {
    {"missing", nullptr, {}},
    {"a folder", "/", {}},
    {"a pipe", "|", {}},
    {"binary garbage", "\x01\xff[[\x02=\n=\xfe\xfd]\n\x7f", {}},
    {"one plain value", "[General]\nrecentRoms=/roms/a.smc\n", {"/roms/a.smc"}},
    {"relative, repeated and odd entries",
     "[General]\nrecentRoms=a.smc, /roms/b.smc, @Invalid(), /roms/b.smc, , /roms/c.smc\n",
     {"/roms/b.smc", "/roms/c.smc"}},
    {"more than eight", "[General]\nrecentRoms=/roms/0.smc, /roms/1.smc, /roms/2.smc, "
                        "/roms/3.smc, /roms/4.smc, /roms/5.smc, /roms/6.smc, /roms/7.smc, "
                        "/roms/8.smc, /roms/9.smc\n",
     tenPaths().mid(0, 8)},
};

TEST(RecentRomsFile, WhatIsReadFromAMissingOrDamagedFileIsSafeAndTheNextSaveReplacesIt)
{
    for (const StoredFile& stored : kStoredFiles) {
        SCOPED_TRACE(stored.what);
        QTemporaryDir dir;
        const QString file = dir.filePath("tessel.conf");
        if (stored.contents && QByteArray(stored.contents) == "/") {
            ASSERT_TRUE(QDir().mkpath(file));
        } else if (stored.contents && QByteArray(stored.contents) == "|") {
            ASSERT_EQ(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
        } else if (stored.contents) {
            QFile f(file);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(stored.contents);
        }
        RecentRoms roms(file);
        EXPECT_EQ(roms.paths(), stored.expected);

        roms.add(QStringLiteral("/roms/new.smc"));
        EXPECT_EQ(roms.paths().first(), "/roms/new.smc");
        EXPECT_LE(roms.paths().size(), RecentRoms::kMaxCount);
        if (QFileInfo(file).isFile()) {
            // Written back whole: the list and nothing else.
            EXPECT_EQ(RecentRoms(file).paths(), roms.paths());
            EXPECT_EQ(QSettings(file, QSettings::IniFormat).allKeys(), QStringList{"recentRoms"});
        }
    }
}

// --- Open Recent in the window ----------------------------------------------

class RecentRomsWindow : public WindowTest {
protected:
    void open(const QString& path)
    {
        prompts.nextPath = path;
        window->runCommand(ids::OpenRom);
    }
    // A new window on a new editor state, as after a restart.
    void restart()
    {
        window.reset();
        state = std::make_unique<EditorState>();
        openWindow();
    }
    QStringList recent() const { return window->recentRomsMenu()->roms().paths(); }
    QList<QAction*> entries() const { return window->recentRomsMenu()->actions(); }
    QString openPath() const { return QString::fromStdString(state->document.romFile.path()); }
};

TEST_F(RecentRomsWindow, TheListSurvivesARestartAndOpensItsEntries)
{
    const QString a = makeRomFile("a.smc"), b = makeRomFile("b.smc");
    open(a);
    open(b);
    open(a);
    restart();
    ASSERT_EQ(recent(), (QStringList{a, b}));
    EXPECT_TRUE(window->recentRomsMenu()->menuAction()->isEnabled());
    QStringList texts;
    for (QAction* entry : entries()) texts << (entry->isSeparator() ? "-" : entry->text());
    EXPECT_EQ(texts, (QStringList{"&1 " + a, "&2 " + b, "-", "&Clear List"}));
    // The file dialog starts in the folder of the last ROM.
    open(QString());
    EXPECT_EQ(prompts.lastStartFolder, dir.path());

    entries()[1]->trigger();
    EXPECT_EQ(openPath(), b);
    EXPECT_EQ(recent(), (QStringList{b, a}));
    EXPECT_TRUE(prompts.errors.isEmpty());
}

TEST_F(RecentRomsWindow, KeepsEightDropsAMissingFileWithAMessageAndClears)
{
    for (int i = 0; i < 9; ++i) open(makeRomFile(QStringLiteral("%1.smc").arg(i)));
    ASSERT_EQ(recent().size(), 8);
    EXPECT_EQ(recent().first(), dir.filePath("8.smc"));
    EXPECT_FALSE(recent().contains(dir.filePath("0.smc")));

    const QString gone = dir.filePath("3.smc");
    ASSERT_TRUE(QFile::remove(gone));
    entries()[recent().indexOf(gone)]->trigger();
    ASSERT_EQ(prompts.errors.size(), 1);
    EXPECT_TRUE(prompts.errors[0].contains(gone));
    EXPECT_TRUE(prompts.errors[0].contains("no longer exists"));
    EXPECT_FALSE(recent().contains(gone));
    EXPECT_EQ(openPath(), dir.filePath("8.smc"));

    entries().last()->trigger(); // Clear List
    EXPECT_TRUE(recent().isEmpty());
    EXPECT_FALSE(window->recentRomsMenu()->menuAction()->isEnabled());
    restart();
    EXPECT_TRUE(recent().isEmpty());
}

// --- Dropping a ROM file ----------------------------------------------------

class RomDrop : public RecentRomsWindow {
protected:
    // Drags `urls` over the window and drops them; true when the window took
    // the drag. The opening runs once the drop has returned.
    bool drop(const QList<QUrl>& urls)
    {
        QMimeData data;
        data.setUrls(urls);
        const QPoint at(window->width() / 2, window->height() / 2);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &enter);
        if (!enter.isAccepted()) return false;
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &dropped);
        QApplication::processEvents();
        return dropped.isAccepted();
    }
    QString generatedRom(const QString& name)
    {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(writeSyntheticRom(path.toStdString()));
        return path;
    }
};

TEST_F(RomDrop, ADroppedRomOpensAsOpenRomWouldOpenIt)
{
    const QString path = generatedRom("dropped.smc");
    ASSERT_TRUE(drop({QUrl::fromLocalFile(path)}));
    EXPECT_TRUE(state->romOpen());
    EXPECT_EQ(openPath(), path);
    EXPECT_EQ(state->currentSprite, 0);
    EXPECT_TRUE(window->action(ids::CloseRom)->isEnabled());
    EXPECT_TRUE(prompts.errors.isEmpty());
    EXPECT_EQ(recent(), QStringList{path});

    // A wrong title asks first, as Open ROM does; No keeps the open ROM.
    prompts.yesNoAnswer = false;
    ASSERT_TRUE(drop({QUrl::fromLocalFile(makeRomFile("other.smc", "OAKEN SHORF"))}));
    EXPECT_EQ(prompts.questions.size(), 1);
    EXPECT_EQ(openPath(), path);
}

TEST_F(RomDrop, CancelToTheUnsavedEditsQuestionRefusesTheDrop)
{
    const QString first = generatedRom("first.smc");
    open(first);
    state->current().pixels[0] ^= 5;
    markSpriteEdited(state->document, state->currentSprite);
    prompts.saveAnswer = SaveChoice::Cancel;
    drop({QUrl::fromLocalFile(generatedRom("second.smc"))});
    EXPECT_EQ(prompts.saveQuestions, 1);
    EXPECT_EQ(openPath(), first);
    EXPECT_EQ(recent(), QStringList{first});
}

TEST_F(RomDrop, OnlyASingleLocalFileIsTaken)
{
    const QString rom = makeRomFile("a.smc");
    const QList<QList<QUrl>> refused = {
        {},
        {QUrl::fromLocalFile(rom), QUrl::fromLocalFile(makeRomFile("b.smc"))},
        {QUrl::fromLocalFile(dir.path())},
        {QUrl::fromLocalFile(dir.filePath("missing.smc"))},
        {QUrl(QStringLiteral("https://example.org/a.smc"))},
    };
    for (int i = 0; i < refused.size(); ++i) EXPECT_FALSE(drop(refused[i])) << "case " << i;
    EXPECT_FALSE(state->romOpen());
    EXPECT_EQ(prompts.saveQuestions + prompts.questions.size() + prompts.errors.size(), 0);
}

} // namespace
} // namespace tessel::testing

// The Open ROM dialog offers ROMs whatever the case of their extension.
#include <QFile>
#include <QFileSystemModel>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "window/open_rom_dialog.h"

namespace tessel {
namespace {

TEST(OpenRomDialog, OffersRomFilesInAnyCaseAndNothingElse)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const char* name : {"game.smc", "GAME.SMC", "Other.Smc", "notes.txt", "game.smc.bak",
                             "dump.SFC", "a.swc", "b.Fig"}) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    auto dialog = makeOpenRomDialog(nullptr);
    EXPECT_EQ(dialog->nameFilters(),
              (QStringList{"SNES ROM files (*.smc *.sfc *.swc *.fig)", "All files (*)"}));
    auto* model = dialog->findChild<QFileSystemModel*>();
    ASSERT_NE(model, nullptr);
    QSignalSpy loaded(model, &QFileSystemModel::directoryLoaded);
    dialog->setDirectory(dir.path());
    while (model->rowCount(model->index(dir.path())) < 6 && loaded.wait(2000)) {
    }
    const QModelIndex root = model->index(dir.path());
    QStringList offered;
    for (int row = 0; row < model->rowCount(root); ++row) {
        const QModelIndex i = model->index(row, 0, root);
        if (model->flags(i) & Qt::ItemIsEnabled) offered << model->fileName(i);
    }
    offered.sort();
    EXPECT_EQ(offered, (QStringList{"GAME.SMC", "Other.Smc", "a.swc", "b.Fig", "dump.SFC", "game.smc"}));
}

TEST(OpenRomDialog, OneDialogServesEveryOpenAndGoesWithItsWindow)
{
    auto window = std::make_unique<QWidget>();
    QFileDialog* first = openRomDialogOf(window.get());
    EXPECT_EQ(openRomDialogOf(window.get()), first);
    EXPECT_EQ(window->findChildren<QFileDialog*>().size(), 1);
    QPointer<QFileDialog> kept(first);
    window.reset();
    EXPECT_TRUE(kept.isNull());
}

} // namespace
} // namespace tessel

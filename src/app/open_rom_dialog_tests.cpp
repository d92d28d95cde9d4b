// The Open ROM dialog offers ROMs whatever the case of their extension.
#include <QFile>
#include <QFileSystemModel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "app/open_rom_dialog.h"

namespace tessel {
namespace {

TEST(OpenRomDialog, OffersSmcFilesInAnyCaseAndNothingElse)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const char* name : {"game.smc", "GAME.SMC", "Other.Smc", "notes.txt", "game.smc.bak"}) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    auto dialog = makeOpenRomDialog(nullptr);
    EXPECT_EQ(dialog->nameFilters(), QStringList{"SNES ROM files (*.smc)"});
    auto* model = dialog->findChild<QFileSystemModel*>();
    ASSERT_NE(model, nullptr);
    QSignalSpy loaded(model, &QFileSystemModel::directoryLoaded);
    dialog->setDirectory(dir.path());
    while (model->rowCount(model->index(dir.path())) < 3 && loaded.wait(2000)) {
    }
    const QModelIndex root = model->index(dir.path());
    QStringList offered;
    for (int row = 0; row < model->rowCount(root); ++row) {
        const QModelIndex i = model->index(row, 0, root);
        if (model->flags(i) & Qt::ItemIsEnabled) offered << model->fileName(i);
    }
    offered.sort();
    EXPECT_EQ(offered, (QStringList{"GAME.SMC", "Other.Smc", "game.smc"}));
}

} // namespace
} // namespace tessel

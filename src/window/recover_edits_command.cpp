// File > Recover Edits: the recovery files of every ROM, not only of the one
// being opened. The chosen file's ROM is opened and the keeper offers that
// very file; when the ROM is no longer where the file says, the user names
// the ROM the edits belong to.
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <filesystem>

#include "file/path_names.h"
#include "rom/recovery_file.h"
#include "widgets/local_path.h"
#include "widgets/user_prompts.h"
#include "window/main_window.h"
#include "window/recent_roms.h"
#include "window/recovery_keeper.h"

namespace tessel {

namespace {

QString systemText(const std::string& bytes) { return QFile::decodeName(QByteArray::fromStdString(bytes)); }

} // namespace

void MainWindow::recoverEditsCommand()
{
    RecoveryFolder folder = listRecoveryFiles(recovery_->directory());
    // The open ROM's own file holds edits the window shows now.
    std::erase_if(folder.usable, [&](const FoundRecovery& f) { return f.name == recovery_->keptFile(); });
    QString unusable;
    if (!folder.unusable.empty())
        unusable = tr("\n\nThese recovery files cannot be used:\n%1")
                       .arg(systemText(folder.unusable.front()) +
                            (folder.unusable.size() > 1
                                 ? tr(" (and %1 more)").arg(folder.unusable.size() - 1)
                                 : QString()));
    if (folder.usable.empty()) {
        prompts_.information(this, tr("There are no unsaved edits from earlier runs to recover.") + unusable);
        return;
    }
    QList<QStringList> rows;
    for (const FoundRecovery& f : folder.usable) {
        const RecoveryInfo& info = f.contents.info;
        const int count = static_cast<int>(f.contents.sprites.size());
        rows << QStringList{systemText(baseName(info.romPath)), QDir::toNativeSeparators(systemText(info.romPath)),
                            QLocale().toString(QDateTime::fromSecsSinceEpoch(info.savedAt), QLocale::ShortFormat),
                            QString::number(count)};
    }
    const int chosen = prompts_.chooseRecoveryFile(this, rows);
    if (chosen < 0 || chosen >= static_cast<int>(folder.usable.size())) return;
    const FoundRecovery& found = folder.usable[static_cast<std::size_t>(chosen)];
    std::string rom = found.contents.info.romPath;
    std::error_code error;
    if (!std::filesystem::is_regular_file(rom, error)) {
        prompts_.information(this, tr("%1 is no longer there. Choose the ROM these edits belong to; "
                                                  "they are offered back once it is open.")
                                       .arg(QDir::toNativeSeparators(systemText(rom))));
        const QString path = prompts_.openRomPath(this, recentMenu_->roms().lastFolder());
        if (path.isEmpty()) return;
        rom = localPathOf(path);
    }
    recovery_->offerNext(found.name);
    if (!openRomFile(rom)) recovery_->offerNext({});
}

} // namespace tessel

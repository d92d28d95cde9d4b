#include "widgets/rom_conversation.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QProgressDialog>
#include <QStringList>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <future>

#include "file/path_names.h"
#include "rom/rom_backup.h"
#include "widgets/user_prompts.h"

namespace tessel {

namespace {

QString spriteList(const std::vector<int>& sprites)
{
    constexpr std::size_t kShown = 12;
    QStringList numbers;
    for (std::size_t i = 0; i < sprites.size() && i < kShown; ++i)
        numbers << QString::number(sprites[i]);
    QString list = numbers.join(QStringLiteral(", "));
    if (sprites.size() > kShown)
        list += QCoreApplication::translate("RomConversation", " and %1 more").arg(sprites.size() - kShown);
    return list;
}

// The backup, copied by a thread of its own so that a large ROM does not
// stop the window: the window waits half a second, then shows how far the
// copy is (window-modal, so that nothing else reaches the ROM meanwhile).
IoResult backupOffThisThread(QWidget* parent, const RomFile& rom)
{
    BackupProgress copied;
    const std::string path = rom.path();
    const FileKey key = rom.key();
    std::future<IoResult> job = std::async(std::launch::async, [&copied, path, key] {
        return backupRom(path, key, backupDirectory(), std::time(nullptr), nullptr, kBackupsKept, systemFileIo(),
                         &copied);
    });
    if (job.wait_for(std::chrono::milliseconds(500)) != std::future_status::ready) {
        QProgressDialog progress(QCoreApplication::translate("RomConversation", "Backing up %1 before the first save…").arg(romDisplayName(path)),
                                 QString(), 0, 1000, parent);
        progress.setWindowTitle(QStringLiteral("Tessel"));
        progress.setWindowModality(Qt::WindowModal);
        progress.setMinimumDuration(0);
        progress.setCancelButton(nullptr);
        progress.show();
        QEventLoop wait;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &wait, [&] {
            const long long total = std::max(1LL, copied.total.load());
            progress.setValue(static_cast<int>(std::min(1000LL, copied.done.load() * 1000 / total)));
            if (job.wait_for(std::chrono::seconds(0)) == std::future_status::ready) wait.quit();
        });
        poll.start(50);
        wait.exec();
    }
    return job.get();
}

} // namespace

QString romDisplayName(const std::string& path)
{
    return QFile::decodeName(QByteArray::fromStdString(baseName(path)));
}

QString withReason(const QString& text, const std::string& reason)
{
    return reason.empty() ? text : text + QStringLiteral("\n\n") + QString::fromStdString(reason);
}

SaveResult RomConversation::write(QWidget* parent, const std::string& path,
                                  const std::function<SaveResult(const SaveOptions&)>& save,
                                  const std::function<bool()>& beforeWriting)
{
    SaveResult result = save({.beforeWriting = beforeWriting});
    if (result.file == HeldFile::ChangedOutside &&
        prompts_.askYesNoDefaultNo(
            parent, QCoreApplication::translate("RomConversation", "%1 was changed on disk by another program since Tessel read "
                                   "it. Write your edited sprites into it anyway?")
                        .arg(romDisplayName(path))))
        result = save({.overOutsideChange = true, .beforeWriting = beforeWriting});
    if (result.file == HeldFile::Replaced) {
        const QString said = QCoreApplication::translate("RomConversation", "The ROM file %1 was replaced or deleted by another "
                                            "program after Tessel opened it. Nothing was saved; "
                                            "your edits are still here.")
                                 .arg(romDisplayName(path));
        if (!saveCopy_)
            prompts_.error(parent, said);
        else if (prompts_.askYesNoDefaultNo(
                     parent, said + QCoreApplication::translate("RomConversation", "\n\nSave a copy of the ROM with your edits under another name?")))
            saveCopy_();
    }
    return result;
}

bool RomConversation::backupBeforeWrite(QWidget* parent, const RomFile& rom)
{
    // Runs after the save's own check of the file (a file replaced or
    // deleted by another program is refused before this).
    if (!rom.isOpen() || rom.isReadOnly()) return true; // nothing will be written into it
    if (std::find(backedUp_.begin(), backedUp_.end(), rom.key()) != backedUp_.end()) return true;
    const IoResult made = backupOffThisThread(parent, rom);
    if (!made.ok &&
        !prompts_.askYesNoDefaultNo(parent, QCoreApplication::translate("RomConversation", "%1 could not be backed up: %2. Save anyway?")
                                                .arg(romDisplayName(rom.path()), QString::fromStdString(made.error))))
        return false;
    // Asked once: a later write of the same run is no longer the first.
    backedUp_.push_back(rom.key());
    return true;
}

bool RomConversation::alreadyTold(const SaveResult& result)
{
    return !result.ok && (result.file != HeldFile::Unchanged || result.declined);
}

bool RomConversation::report(QWidget* parent, const SaveResult& result, const QString& failure)
{
    if (alreadyTold(result)) {
        // Nothing more to say.
    } else if (!result.ok) {
        QString text = withReason(failure, result.error);
        if (!result.unsavedSprites.empty())
            text += QCoreApplication::translate("RomConversation", "\n\nThese sprites were not saved: %1.").arg(spriteList(result.unsavedSprites));
        prompts_.error(parent, text);
    } else if (!result.unsavedSprites.empty()) {
        prompts_.error(parent, QCoreApplication::translate("RomConversation", "The ROM file ends before the tiles of these sprites, so "
                                              "they were not saved: %1.")
                                   .arg(spriteList(result.unsavedSprites)));
    }
    return result.complete();
}

} // namespace tessel

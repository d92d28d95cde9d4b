#include "widgets/rom_conversation.h"

#include <QFile>
#include <QStringList>

#include <algorithm>
#include <ctime>

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
        list += QStringLiteral(" and %1 more").arg(sprites.size() - kShown);
    return list;
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
            parent, QStringLiteral("%1 was changed on disk by another program since Tessel read "
                                   "it. Write your edited sprites into it anyway?")
                        .arg(romDisplayName(path))))
        result = save({.overOutsideChange = true, .beforeWriting = beforeWriting});
    if (result.file == HeldFile::Replaced)
        prompts_.error(parent, QStringLiteral("The ROM file %1 was replaced or deleted by another "
                                              "program after Tessel opened it. Nothing was saved; "
                                              "your edits are still here.")
                                   .arg(romDisplayName(path)));
    return result;
}

bool RomConversation::backupBeforeWrite(QWidget* parent, const RomFile& rom)
{
    // Runs after the save's own check of the file (a file replaced or
    // deleted by another program is refused before this).
    if (!rom.isOpen()) return true;
    if (std::find(backedUp_.begin(), backedUp_.end(), rom.key()) != backedUp_.end()) return true;
    const IoResult made = backupRom(rom.path(), rom.key(), backupDirectory(), std::time(nullptr));
    if (!made.ok &&
        !prompts_.askYesNoDefaultNo(parent, QStringLiteral("%1 could not be backed up: %2. Save anyway?")
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
            text += QStringLiteral("\n\nThese sprites were not saved: %1.").arg(spriteList(result.unsavedSprites));
        prompts_.error(parent, text);
    } else if (!result.unsavedSprites.empty()) {
        prompts_.error(parent, QStringLiteral("The ROM file ends before the tiles of these sprites, so "
                                              "they were not saved: %1.")
                                   .arg(spriteList(result.unsavedSprites)));
    }
    return result.complete();
}

} // namespace tessel

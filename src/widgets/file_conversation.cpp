#include "widgets/file_conversation.h"

#include <QFile>
#include <QFileInfo>

#include "widgets/user_prompts.h"

namespace tessel {

QString romDisplayName(const std::string& path)
{
    return QFileInfo(QFile::decodeName(QByteArray::fromStdString(path))).fileName();
}

SaveResult saveCheckingTheFile(QWidget* parent, UserPrompts& prompts, const std::string& path,
                               const std::function<SaveResult(const SaveOptions&)>& save,
                               const std::function<bool()>& beforeWriting)
{
    SaveResult result = save({.beforeWriting = beforeWriting});
    if (result.file == HeldFile::ChangedOutside &&
        prompts.askYesNoDefaultNo(
            parent, QStringLiteral("%1 was changed on disk by another program since Tessel read "
                                   "it. Write your edited sprites into it anyway?")
                        .arg(romDisplayName(path))))
        result = save({.overOutsideChange = true, .beforeWriting = beforeWriting});
    if (result.file == HeldFile::Replaced)
        prompts.error(parent, QStringLiteral("The ROM file %1 was replaced or deleted by another "
                                             "program after Tessel opened it. Nothing was saved; "
                                             "your edits are still here.")
                                  .arg(romDisplayName(path)));
    return result;
}

} // namespace tessel

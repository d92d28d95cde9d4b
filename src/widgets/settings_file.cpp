#include "widgets/settings_file.h"

#include <QFile>
#include <QStandardPaths>
#include <cerrno>

#include "file/file_io.h"

namespace tessel {

QString settingsFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/tessel/tessel.conf");
}

bool settingsFileUsable(const QString& file)
{
    FileStatus status;
    if (systemFileIo().pathStatus(QFile::encodeName(file).constData(), status) != 0) return errno == ENOENT;
    return status.type == FileType::Regular;
}

bool isPlainSettingsKey(const QString& key)
{
    if (key.isEmpty()) return false;
    for (QChar c : key)
        if (!(c.isLetterOrNumber() && c.unicode() < 128) && c != QLatin1Char('/') && c != QLatin1Char('_'))
            return false;
    return true;
}

} // namespace tessel

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

bool isWindowSettingsKey(const QString& key)
{
    return key.startsWith(QLatin1String(kLargeViewGroup) + QLatin1Char('/'));
}

} // namespace tessel

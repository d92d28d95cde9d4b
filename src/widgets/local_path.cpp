#include "widgets/local_path.h"

#include <QFile>
#include <dirent.h>
#include <sys/stat.h>

#include "file/path_names.h"

namespace tessel {

namespace {

bool exists(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

// The entry of `folder` whose name reads as `name`, or `name` encoded.
std::string entryNamed(const std::string& folder, const QString& name)
{
    const std::string plain = QFile::encodeName(name).toStdString();
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return plain;
    std::string found = plain;
    while (const dirent* entry = ::readdir(dir)) {
        if (QFile::decodeName(QByteArray(entry->d_name)) == name) {
            found = entry->d_name;
            break;
        }
    }
    ::closedir(dir);
    return found;
}

} // namespace

std::string localPathOf(const QString& path)
{
    const std::string plain = QFile::encodeName(path).toStdString();
    if (exists(plain) || !path.contains(QChar::ReplacementCharacter)) return plain;
    std::string result = path.startsWith(QLatin1Char('/')) ? "/" : "";
    const QStringList parts = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const std::string folder = result;
        std::string next = QFile::encodeName(parts[i]).toStdString();
        if (!exists(folder + next)) next = entryNamed(folder.empty() ? "." : folder, parts[i]);
        result = folder + next + (i + 1 < parts.size() ? "/" : "");
    }
    return result;
}

std::string localPathWithExtension(const QString& path, const char* extension)
{
    std::string name = localPathOf(path);
    if (lowerCaseExtension(name).empty()) name += extension;
    return name;
}

} // namespace tessel

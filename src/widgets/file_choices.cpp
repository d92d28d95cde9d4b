#include "widgets/file_choices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>
#include <QWidget>

#include "widgets/local_path.h"
#include "widgets/settings_file.h"
#include "widgets/user_prompts.h"

namespace tessel {

namespace {

constexpr int kResultMilliseconds = 6000; // as long as the status line shows a save

QString folderKey(FileKind kind)
{
    switch (kind) {
    case FileKind::Picture: return QStringLiteral("folders/pictures");
    case FileKind::Palette: return QStringLiteral("folders/palettes");
    case FileKind::Patch: return QStringLiteral("folders/patches");
    case FileKind::CleanRom: return QStringLiteral("folders/cleanRoms");
    case FileKind::Names: return QStringLiteral("folders/names");
    }
    return {};
}

// One key per ROM path; QSettings keys may not hold every character.
QString cleanRomKey(const QString& romPath)
{
    return QStringLiteral("cleanRoms/") +
           QString::fromLatin1(QFileInfo(romPath).absoluteFilePath().toUtf8().toHex());
}

} // namespace

QString fileChoicesFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/tessel/dialogs.conf");
}

FileChoices::FileChoices(const QString& file) : file_(file) {}

QString FileChoices::start(FileKind kind, const QString& romPath, const QString& suggestedName) const
{
    QString folder;
    if (settingsFileUsable(file_)) folder = QSettings(file_, QSettings::IniFormat).value(folderKey(kind)).toString();
    if (folder.isEmpty() || !QDir::isAbsolutePath(folder) || !QFileInfo(folder).isDir())
        folder = romPath.isEmpty() ? QString() : QFileInfo(romPath).absolutePath();
    if (suggestedName.isEmpty()) return folder;
    return folder.isEmpty() ? suggestedName : QDir(folder).filePath(suggestedName);
}

void FileChoices::used(FileKind kind, const QString& chosenPath)
{
    if (!settingsFileUsable(file_)) return;
    QSettings settings(file_, QSettings::IniFormat);
    settings.setValue(folderKey(kind), QFileInfo(chosenPath).absolutePath());
    settings.sync();
}

QString FileChoices::cleanRomFor(const QString& romPath) const
{
    if (!settingsFileUsable(file_)) return {};
    return QSettings(file_, QSettings::IniFormat).value(cleanRomKey(romPath)).toString();
}

void FileChoices::setCleanRom(const QString& romPath, const QString& cleanPath)
{
    if (!settingsFileUsable(file_)) return;
    QSettings settings(file_, QSettings::IniFormat);
    settings.setValue(cleanRomKey(romPath), QFileInfo(cleanPath).absoluteFilePath());
    settings.sync();
}

QString filterExtension(const QString& filter)
{
    static const QRegularExpression pattern(QStringLiteral("\\*(\\.[A-Za-z0-9]+)"));
    const QRegularExpressionMatch m = pattern.match(filter);
    return m.hasMatch() ? m.captured(1) : QString();
}

QString withFilterExtension(const QString& path, const QString& chosenFilter)
{
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot > 0 && dot + 1 < name.size()) return path;
    QString trimmed = path;
    if (trimmed.endsWith(QLatin1Char('.'))) trimmed.chop(1);
    return trimmed + filterExtension(chosenFilter);
}

std::string askSavePath(UserPrompts& prompts, QWidget* parent, FileKind kind, const QString& caption,
                        const QString& filter, const std::string& romPath, const QString& suggestedName)
{
    FileChoices choices;
    QString chosenFilter;
    const QString start = choices.start(kind, QFile::decodeName(QByteArray::fromStdString(romPath)), suggestedName);
    const QString path = prompts.saveFile(parent, {caption, filter, start, &chosenFilter});
    if (path.isEmpty()) return {};
    choices.used(kind, path);
    // The first filter stands for a name typed without choosing one.
    const QString named = withFilterExtension(path, chosenFilter.isEmpty() ? filter : chosenFilter);
    return localPathOf(named);
}

std::string askOpenPath(UserPrompts& prompts, QWidget* parent, FileKind kind, const QString& caption,
                        const QString& filter, const std::string& romPath)
{
    FileChoices choices;
    const QString start = choices.start(kind, QFile::decodeName(QByteArray::fromStdString(romPath)));
    const QString path = prompts.openFile(parent, {caption, filter, start, nullptr});
    if (path.isEmpty()) return {};
    choices.used(kind, path);
    return localPathOf(path);
}

void showStatusResult(QWidget* widget, const QString& text)
{
    for (QWidget* w = widget ? widget->window() : nullptr; w;
         w = w->parentWidget() ? w->parentWidget()->window() : nullptr)
        if (auto* bar = w->findChild<QStatusBar*>()) {
            bar->showMessage(text, kResultMilliseconds);
            return;
        }
}

} // namespace tessel

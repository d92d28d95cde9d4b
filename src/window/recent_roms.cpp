#include "window/recent_roms.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include "widgets/settings_file.h"

namespace tessel {

namespace {
const QString kKey = QStringLiteral("recentRoms");
} // namespace

QString recentRomsFile() { return settingsFilePath(); }

RecentRoms::RecentRoms(const QString& file) : file_(file)
{
    if (!settingsFileUsable(file_)) return;
    QSettings settings(file_, QSettings::IniFormat);
    if (settings.status() != QSettings::NoError) return;
    // Whatever the file holds, only absolute paths are taken, each once.
    for (const QString& path : settings.value(kKey).toStringList()) {
        if (paths_.size() == kMaxCount) break;
        if (QDir::isAbsolutePath(path) && !paths_.contains(path)) paths_ << path;
    }
}

void RecentRoms::add(const QString& path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    paths_.removeAll(absolute);
    paths_.prepend(absolute);
    while (paths_.size() > kMaxCount) paths_.removeLast();
    save();
}

void RecentRoms::remove(const QString& path)
{
    if (paths_.removeAll(path) > 0) save();
}

void RecentRoms::clear()
{
    paths_.clear();
    save();
}

QString RecentRoms::lastFolder() const
{
    return paths_.isEmpty() ? QString() : QFileInfo(paths_.first()).absolutePath();
}

void RecentRoms::save() const
{
    // The list is written whole; the program's other settings stay, damage
    // goes, and so does a file that cannot be read as settings at all.
    if (!settingsFileUsable(file_)) return;
    QSettings settings(file_, QSettings::IniFormat);
    if (settings.status() != QSettings::NoError) settings.clear();
    for (const QString& key : settings.allKeys())
        if (key == kKey || !isPlainSettingsKey(key)) settings.remove(key);
    if (!paths_.isEmpty()) settings.setValue(kKey, paths_);
    settings.sync();
}

RecentRomsMenu::RecentRomsMenu(std::function<void(const QString&)> choose, QWidget* parent)
    : QMenu(tr("Open &Recent"), parent), choose_(std::move(choose))
{
    rebuild();
}

void RecentRomsMenu::add(const QString& path)
{
    roms_.add(path);
    rebuild();
}

void RecentRomsMenu::remove(const QString& path)
{
    roms_.remove(path);
    rebuild();
}

void RecentRomsMenu::clear()
{
    roms_.clear();
    rebuild();
}

void RecentRomsMenu::rebuild()
{
    // The choice that rebuilds the menu is one of its actions, still at work:
    // the old actions go once control is back in the event loop.
    for (QAction* old : actions()) {
        removeAction(old);
        old->deleteLater();
    }
    int number = 0;
    for (const QString& path : roms_.paths()) {
        QString text = QDir::toNativeSeparators(path);
        text.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* entry = addAction(QStringLiteral("&%1 %2").arg(++number).arg(text));
        connect(entry, &QAction::triggered, this, [this, path] { choose_(path); });
    }
    addSeparator();
    connect(addAction(tr("&Clear List")), &QAction::triggered, this,
            [this] { clear(); });
    menuAction()->setEnabled(!roms_.paths().isEmpty());
}

} // namespace tessel
